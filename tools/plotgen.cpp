// Writes survey plot files for the samples, the tests and the benchmarks. The output depends
// only on the options: the same command gives the same bytes on every machine.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "plot/Archive.h"
#include "plot/FileError.h"
#include "tools/BenchSheets.h"
#include "tools/CostlySheet.h"
#include "tools/RecordWriter.h"
#include "tools/SurveySheet.h"

namespace {
const char kUsage[] =
    "Usage: korvane-plotgen [--kind KIND] [--records N] [--seed S] OUT\n"
    "Writes a survey plot file to OUT.\n"
    "  --kind KIND   site-plan (default), contours or traverse; or costly, the most work\n"
    "                per byte for a reader and a view; or lines, line records only:\n"
    "                pen-down walks of 1 to 200 segments; or walk, long-lines or texts,\n"
    "                drawings for the speed comparisons (all these need --records)\n"
    "  --records N   repeat sheets side by side until exactly N records are written;\n"
    "                without it, one sheet\n"
    "  --seed S      vary the drawing (default: one fixed seed per kind)\n";

// Line records only, as a plotter driver writes a drawing of polylines: each walk starts with a
// pen-up move and goes on with pen-down segments of up to a tenth of an inch.
void DrawWalks(RecordWriter& writer, Rng& rng) {
    while (!writer.Full()) {
        double x = rng.Uniform(0, 330), y = rng.Uniform(0, 230);
        writer.Move(x, y);
        for (int n = rng.Int(1, 200); n > 0; --n) {
            x += rng.Uniform(-0.1, 0.1);
            y += rng.Uniform(-0.1, 0.1);
            writer.Draw(x, y);
        }
    }
}

int Usage(const char* problem) {
    if (problem) std::fprintf(stderr, "korvane-plotgen: %s\n", problem);
    std::fputs(kUsage, problem ? stderr : stdout);
    return problem ? 1 : 0;
}

bool ParseCount(const char* text, std::uint64_t& value) {
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text, &end, 10);
    if (errno || end == text || *end || text[0] == '-') return false;
    value = v;
    return true;
}
}  // namespace

int main(int argc, char** argv) {
    SurveySheet::Kind kind = SurveySheet::Kind::SitePlan;
    bool costly = false;
    bool walks = false;
    void (*bench)(RecordWriter&, Rng&) = nullptr;
    std::uint64_t records = 0;
    std::uint64_t seed = 0;
    bool seedGiven = false;
    std::string out;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") return Usage(nullptr);
        if (arg == "--kind" && hasValue) {
            std::string k = argv[++i];
            if (k == "site-plan") {
                kind = SurveySheet::Kind::SitePlan;
            } else if (k == "contours") {
                kind = SurveySheet::Kind::Contours;
            } else if (k == "traverse") {
                kind = SurveySheet::Kind::Traverse;
            } else if (k == "costly") {
                costly = true;
            } else if (k == "lines") {
                walks = true;
            } else if (k == "walk") {
                bench = WriteRandomWalk;
            } else if (k == "long-lines") {
                bench = WriteLongLines;
            } else if (k == "texts") {
                bench = WriteTexts;
            } else {
                return Usage(("unknown kind: " + k).c_str());
            }
        } else if (arg == "--records" && hasValue) {
            if (!ParseCount(argv[++i], records) || records == 0)
                return Usage("--records needs a positive count");
        } else if (arg == "--seed" && hasValue) {
            if (!ParseCount(argv[++i], seed)) return Usage("--seed needs a number");
            seedGiven = true;
        } else if (arg.rfind("--", 0) == 0 || !out.empty()) {
            return Usage(("unexpected argument: " + arg).c_str());
        } else {
            out = arg;
        }
    }
    if (out.empty()) return Usage("no output file");
    if (costly && !records) return Usage("--kind costly needs --records");
    if (walks && !records) return Usage("--kind lines needs --records");
    if (bench && !records) return Usage("--kind walk, long-lines and texts need --records");
    if (!seedGiven) seed = 1000 + static_cast<std::uint64_t>(kind) + (walks || bench ? 100 : 0);

    try {
        Archive archive = Archive::CreateForStore(out, 64 * 1024);
        RecordWriter writer(archive, records ? records : UINT64_MAX);
        Rng rng(seed);
        if (costly) {
            WriteCostlySheets(writer, rng);
        } else if (bench) {
            bench(writer, rng);
        } else if (walks) {
            DrawWalks(writer, rng);
        } else {
            SurveySheet sheet(writer, rng, kind);
            // Sheets of a large file lie in rows of ten, like a map series.
            int number = 0;
            do {
                sheet.Draw((number % 10) * 34.0, (number / 10) * 24.0, number + 1);
                ++number;
            } while (records && !writer.Full());
        }
        archive.Commit();
        std::printf("%s: %llu records\n", out.c_str(),
                    static_cast<unsigned long long>(writer.Count()));
    } catch (const FileError& e) {
        std::fprintf(stderr, "korvane-plotgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
