// Reading the 10-million-record survey into a document, against the floor: a plain loop that
// reads the same file through a 4096-byte buffer and decodes every record into a reserved flat
// array. Reading is dominated by first-touch page faults and allocation, so every run starts
// from nothing and the medians of several repetitions are what count.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/BenchData.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "plot/UserFeedback.h"

namespace {
class QuietFeedback : public UserFeedback {
  public:
    void ShowMessage(const std::string&) override {}
};

// One record of any kind, decoded.
struct FlatRecord {
    std::int16_t code;
    std::int16_t ints[3];
    float floats[5];
    std::uint32_t text;  // offset into the text pool
};

// The baseline's own buffered reader: fd, 4096 bytes, bytes past the end are zero.
class PlainReader {
  public:
    explicit PlainReader(int fd) : m_fd(fd) {}
    std::size_t Take(std::uint8_t* dst, std::size_t n) {
        if (m_end - m_cur >= n) {
            std::memcpy(dst, m_buf + m_cur, n);
            m_cur += n;
            return n;
        }
        std::size_t got = 0;
        while (got < n) {
            if (m_cur == m_end) {
                ssize_t r = ::read(m_fd, m_buf, sizeof m_buf);
                if (r <= 0) break;
                m_cur = 0;
                m_end = static_cast<std::size_t>(r);
            }
            std::size_t take = std::min(n - got, m_end - m_cur);
            std::memcpy(dst + got, m_buf + m_cur, take);
            m_cur += take;
            got += take;
        }
        if (got < n) std::memset(dst + got, 0, n - got);
        return got;
    }

  private:
    int m_fd;
    std::uint8_t m_buf[4096];
    std::size_t m_cur = 0, m_end = 0;
};

long MinorFaults() {
    struct rusage usage;
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

std::size_t ReadFlat(const std::string& path, std::vector<FlatRecord>& out, std::string& texts) {
    int fd = ::open(path.c_str(), O_RDONLY);
    struct stat st;
    ::fstat(fd, &st);
    out.reserve(static_cast<std::size_t>(st.st_size) / 4 + 1);  // no record is shorter
    PlainReader in(fd);
    static constexpr int kPayload[16] = {0, 4, 2, 8, 10, 12, 4, 0, 22, 18, 20, 0, 12, 0, 0, 6};
    std::uint8_t b[24];
    char text[512];
    for (;;) {
        if (in.Take(b, 2) < 2) break;
        std::int16_t code = Archive::DecodeInt16(b);
        if (code >= 0 || code < -15) break;
        int size = kPayload[-code];
        if (size == 0) continue;
        in.Take(b, static_cast<std::size_t>(size));
        FlatRecord& r = out.emplace_back();
        r.code = code;
        switch (code) {
            case -1:
            case -15:
            case -2:
                for (int i = 0; i < size / 2; ++i) r.ints[i] = Archive::DecodeInt16(b + 2 * i);
                break;
            case -4:
                r.floats[0] = Archive::DecodeFloat(b);
                r.floats[1] = Archive::DecodeFloat(b + 4);
                r.ints[0] = Archive::DecodeInt16(b + 8);
                break;
            case -8:
            case -9:
            case -10:
                for (int i = 0; i < 4; ++i) r.floats[i] = Archive::DecodeFloat(b + 4 * i);
                r.ints[0] = Archive::DecodeInt16(b + 16);
                if (code == -8) r.floats[4] = Archive::DecodeFloat(b + 18);
                if (code == -10) r.ints[1] = Archive::DecodeInt16(b + 18);
                if (code == -9) {
                    int n = r.ints[0] < 0 || r.ints[0] > 511 ? 0 : r.ints[0];
                    in.Take(reinterpret_cast<std::uint8_t*>(text), n + n % 2);
                    r.text = static_cast<std::uint32_t>(texts.size());
                    texts.append(text, n).push_back('\0');
                }
                break;
            default:
                for (int i = 0; i < size / 4; ++i) r.floats[i] = Archive::DecodeFloat(b + 4 * i);
        }
    }
    ::close(fd);
    return out.size();
}

void BM_ReadDocument(benchmark::State& state) {
    const std::string path = BenchDataPath("survey-10m.plt");
    if (!BenchDataExists(path)) return state.SkipWithError(kMissingData);
    QuietFeedback feedback;
    std::size_t records = 0;
    long faults = 0;
    for (auto _ : state) {
        const long before = MinorFaults();
        auto doc = std::make_unique<CKorvaneDoc>(feedback);
        doc->OnOpenDocument(path);
        records = doc->Primitives().size();
        faults = MinorFaults() - before;
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["records"] = static_cast<double>(records);
    state.counters["page_faults"] = static_cast<double>(faults);
}

void BM_ReadFlatBaseline(benchmark::State& state) {
    const std::string path = BenchDataPath("survey-10m.plt");
    if (!BenchDataExists(path)) return state.SkipWithError(kMissingData);
    std::size_t records = 0;
    long faults = 0;
    for (auto _ : state) {
        const long before = MinorFaults();
        auto flat = std::make_unique<std::vector<FlatRecord>>();
        auto texts = std::make_unique<std::string>();
        records = ReadFlat(path, *flat, *texts);
        benchmark::DoNotOptimize(flat->data());
        faults = MinorFaults() - before;
        state.PauseTiming();
        flat.reset();
        texts.reset();
        state.ResumeTiming();
    }
    state.counters["records"] = static_cast<double>(records);
    state.counters["page_faults"] = static_cast<double>(faults);
}
}  // namespace

// Interleaved repetitions would be fairer still, but each run starts cold either way.
BENCHMARK(BM_ReadFlatBaseline)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7);
BENCHMARK(BM_ReadDocument)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(7);
BENCHMARK_MAIN();
