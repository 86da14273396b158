// Memory held by a loaded document, per record: every byte requested through operator new is
// counted (this binary replaces the global operator new and delete, aligned ones included),
// malloc's own figures (which include its bookkeeping) are reported beside them, and so is the
// growth of the resident set, the memory the document really occupies (a block reserved but
// not yet filled costs none; a huge page costs all of its 2 MB once touched).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "bench/BenchData.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "plot/Prim.h"
#include "plot/UserFeedback.h"

namespace {
// Single-threaded benchmark: plain counters are enough.
std::size_t g_liveBytes = 0;
std::size_t g_peakBytes = 0;

// Each block carries its size in front, so delete can uncount it.
constexpr std::size_t kHeader = 16;

void* CountedAlloc(std::size_t size) {
    auto* p = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!p) throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(p) = size;
    g_liveBytes += size;
    if (g_liveBytes > g_peakBytes) g_peakBytes = g_liveBytes;
    return p + kHeader;
}

void CountedFree(void* ptr) {
    if (!ptr) return;
    auto* p = static_cast<unsigned char*>(ptr) - kHeader;
    g_liveBytes -= *reinterpret_cast<std::size_t*>(p);
    std::free(p);
}

// Aligned blocks keep their size and the start of the allocation just before the block.
void* CountedAlignedAlloc(std::size_t size, std::align_val_t align) {
    const std::size_t a =
        static_cast<std::size_t>(align) < kHeader ? kHeader : static_cast<std::size_t>(align);
    auto* raw = static_cast<unsigned char*>(std::aligned_alloc(a, (size + a + a - 1) / a * a));
    if (!raw) throw std::bad_alloc();
    unsigned char* p = raw + a;
    reinterpret_cast<std::size_t*>(p)[-1] = size;
    reinterpret_cast<unsigned char**>(p)[-2] = raw;
    g_liveBytes += size;
    if (g_liveBytes > g_peakBytes) g_peakBytes = g_liveBytes;
    return p;
}

void CountedAlignedFree(void* ptr) {
    if (!ptr) return;
    g_liveBytes -= static_cast<std::size_t*>(ptr)[-1];
    std::free(static_cast<unsigned char**>(ptr)[-2]);
}

long ResidentBytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * ::sysconf(_SC_PAGESIZE);
}
}  // namespace

void* operator new(std::size_t size) {
    return CountedAlloc(size);
}
void* operator new[](std::size_t size) {
    return CountedAlloc(size);
}
void operator delete(void* p) noexcept {
    CountedFree(p);
}
void operator delete[](void* p) noexcept {
    CountedFree(p);
}
void operator delete(void* p, std::size_t) noexcept {
    CountedFree(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    CountedFree(p);
}
void* operator new(std::size_t size, std::align_val_t align) {
    return CountedAlignedAlloc(size, align);
}
void operator delete(void* p, std::align_val_t) noexcept {
    CountedAlignedFree(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    CountedAlignedFree(p);
}

namespace {
class QuietFeedback : public UserFeedback {
  public:
    void ShowMessage(const std::string&) override {}
};

std::size_t MallocInUse() {
    struct mallinfo2 mi = ::mallinfo2();
    return mi.uordblks + mi.hblkhd;
}

// Loads through `load` and reports what the document holds per record.
template <class Load>
void MeasureLoad(benchmark::State& state, Load&& load) {
    QuietFeedback feedback;
    for (auto _ : state) {
        const std::size_t before = g_liveBytes;
        const std::size_t mallocBefore = MallocInUse();
        const long residentBefore = ResidentBytes();
        g_peakBytes = g_liveBytes;
        auto doc = std::make_unique<CKorvaneDoc>(feedback);
        load(*doc);
        const double records = static_cast<double>(doc->Primitives().size());
        state.counters["records"] = records;
        state.counters["held_bytes_per_record"] = (g_liveBytes - before) / records;
        state.counters["peak_bytes_per_record"] = (g_peakBytes - before) / records;
        state.counters["malloc_bytes_per_record"] = (MallocInUse() - mallocBefore) / records;
        state.counters["resident_bytes_per_record"] =
            static_cast<double>(ResidentBytes() - residentBefore) / records;
    }
}

void BM_MemorySurvey(benchmark::State& state) {
    const std::string path = BenchDataPath("survey-10m.plt");
    if (!BenchDataExists(path)) return state.SkipWithError(kMissingData);
    MeasureLoad(state, [&](CKorvaneDoc& doc) { doc.OnOpenDocument(path); });
}

// Ten million pen moves and nothing else: the cost of one line record on its own.
void BM_MemoryLines(benchmark::State& state) {
    Archive store = Archive::ToMemory();
    for (int i = 0; i < 10000000; ++i) {
        Ligne line(PrimCode::kLigne, static_cast<float>(i % 3000) * 0.01f, 1.0f, 2);
        line.Write(store);
    }
    const std::string bytes = store.Memory();
    MeasureLoad(state, [&](CKorvaneDoc& doc) {
        Archive in = Archive::FromMemory(bytes.data(), bytes.size());
        doc.Serialize(in);
    });
}
}  // namespace

BENCHMARK(BM_MemorySurvey)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK(BM_MemoryLines)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);
BENCHMARK_MAIN();
