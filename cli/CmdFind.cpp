#include <optional>
#include <string>

#include "cli/Arguments.h"
#include "cli/CliFeedback.h"
#include "cli/Commands.h"
#include "cli/Output.h"
#include "dxf/DxfConfig.h"
#include "plot/KorvaneDoc.h"
#include "render/TextSearch.h"
#include "world/PaperToWorld.h"

namespace {
const char* kFindUsage = "usage: korvane-cli find FILE TEXT [--match-case] [--config CFG]";

// The argument as the drawing's Latin-1 bytes: UTF-8 characters up to U+00FF become their
// byte, other bytes stay as typed (a Latin-1 terminal). False for a character no drawing holds.
bool ToDrawingBytes(const std::string& text, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const unsigned char next =
            i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        const bool continued = (next & 0xC0) == 0x80;
        if ((c == 0xC2 || c == 0xC3) && continued) {
            bytes.push_back(static_cast<char>(((c & 0x03) << 6) | (next & 0x3F)));
            ++i;
        } else if (c >= 0xC4 && c <= 0xF4 && continued) {
            return false;
        } else {
            bytes.push_back(static_cast<char>(c));
        }
    }
    return true;
}

// The drawing's Latin-1 as UTF-8 for the terminal, control bytes (markers) left out.
std::string ToUtf8(const std::string& latin1) {
    std::string out;
    for (const char ch : latin1) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return Printable(out);
}
}  // namespace

int RunFind(const Args& args) {
    // --match-case takes no value: it is taken out before the options that do.
    Args rest;
    bool matchCase = false, optionsEnded = false;
    for (const std::string& a : args) {
        optionsEnded = optionsEnded || a == "--";
        if (!optionsEnded && a == "--match-case") {
            matchCase = true;
        } else {
            rest.push_back(a);
        }
    }
    std::vector<std::string> files;
    ConvertOptions options;
    if (int status = ParseArguments(rest, 2, {"--config"}, kFindUsage, files, options)) {
        return status;
    }
    CliFeedback feedback(files[0]);
    CKorvaneDoc doc(feedback);
    std::optional<PaperToWorld> world;
    if (!options.config.empty()) {
        DxfSettings settings;
        if (ReadDxfConfig(options.config, settings) <= 0) {
            return Fail(options.config + ": cannot read the configuration file");
        }
        try {
            if (settings.conversionIndex != 0) world.emplace(settings);
        } catch (const TransformError& e) {
            return Fail(options.config + ": " + e.what());
        }
    }
    if (!OpenPlot(doc, feedback, files[0])) return kExitFailure;

    std::string needle;
    std::vector<TextMatch> matches;
    if (ToDrawingBytes(files[1], needle)) {
        matches = FindText(doc.Primitives(), needle, matchCase);
    }
    StdOutput out;
    for (const TextMatch& m : matches) {
        if (world) {
            const WorldPoint p = world->Apply(m.x, m.y);
            out.Print("%zu %.3f %.3f %.3f %.3f %s\n", m.record, m.x, m.y, p.e, p.n,
                      ToUtf8(m.text).c_str());
        } else {
            out.Print("%zu %.3f %.3f %s\n", m.record, m.x, m.y, ToUtf8(m.text).c_str());
        }
    }
    // A damaged file is said as every command says it; what was read has been searched.
    const int status = feedback.Messages() ? kExitInvalidRecord
                       : matches.empty()   ? kExitFailure
                                           : kExitOk;
    return out.Finish(status);
}
