#include "render/qt/PngWriter.h"

#include <libdeflate.h>

#define ZLIB_CONST
#include <zlib.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace {
// zlib's fastest level: on line drawings higher levels buy a few per cent for twice the time.
// Palette rows are compressed as runs only (Z_RLE), which on line drawings is both faster and
// smaller than matching strings; filtered RGB rows repeat the row above, which runs miss.
constexpr int kLevel = 1;

void PutU32(std::string& out, std::uint32_t v) {
    const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 8), static_cast<char>(v)};
    out.append(b, 4);
}

void PutChunk(std::string& out, const char type[4], const void* data, std::size_t size) {
    PutU32(out, static_cast<std::uint32_t>(size));
    const std::size_t at = out.size();
    out.append(type, 4);
    out.append(static_cast<const char*>(data), size);
    PutU32(out, libdeflate_crc32(0, out.data() + at, size + 4));
}

// The picture's colours when there are at most 256 of them, and each pixel's index.
class Palette {
  public:
    bool Add(std::uint32_t rgb, std::uint8_t& index) {
        std::uint32_t slot = (rgb * 2654435761u) >> (32 - kBits);
        for (;;) {
            if (m_used[slot] == 0) {
                if (m_colors.size() == 256) return false;
                m_used[slot] = 1;
                m_key[slot] = rgb;
                m_index[slot] = static_cast<std::uint8_t>(m_colors.size());
                m_colors.push_back(rgb);
            }
            if (m_key[slot] == rgb) {
                index = m_index[slot];
                return true;
            }
            slot = (slot + 1) & (kSlots - 1);
        }
    }
    const std::vector<std::uint32_t>& Colors() const { return m_colors; }

  private:
    static constexpr int kBits = 10;
    static constexpr std::uint32_t kSlots = 1u << kBits;
    std::uint8_t m_used[kSlots] = {};
    std::uint32_t m_key[kSlots] = {};
    std::uint8_t m_index[kSlots] = {};
    std::vector<std::uint32_t> m_colors;
};

// Filter byte 0 and one palette index per pixel of rows [y0, y1); false when they have too many
// colours.
bool IndexedRows(const QImage& image, int y0, int y1, Palette& palette,
                 std::vector<std::uint8_t>& raw) {
    const int w = image.width();
    raw.resize(static_cast<std::size_t>(w + 1) * (y1 - y0));
    std::uint8_t* out = raw.data();
    std::uint32_t last = 0;
    std::uint8_t lastIndex = 0;
    bool haveLast = false;
    for (int y = y0; y < y1; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        *out++ = 0;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t rgb = row[x] & 0xFFFFFF;
            if (!haveLast || rgb != last) {
                if (!palette.Add(rgb, lastIndex)) return false;
                last = rgb;
                haveLast = true;
            }
            *out++ = lastIndex;
        }
    }
    return true;
}

// Filter byte 1 (Sub) and each pixel's red, green and blue less its left neighbour's, for rows
// [y0, y1).
void RgbRows(const QImage& image, int y0, int y1, std::vector<std::uint8_t>& raw) {
    const int w = image.width();
    raw.resize((static_cast<std::size_t>(w) * 3 + 1) * (y1 - y0));
    std::uint8_t* out = raw.data();
    for (int y = y0; y < y1; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        *out++ = 1;
        std::uint32_t left = 0;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];
            out[0] = static_cast<std::uint8_t>((p >> 16) - (left >> 16));
            out[1] = static_cast<std::uint8_t>((p >> 8) - (left >> 8));
            out[2] = static_cast<std::uint8_t>(p - left);
            out += 3;
            left = p;
        }
    }
}

// The filtered picture and its compressed form are held whole beside the image, which for a very
// large picture would double its memory; those go through Qt's encoder, which compresses row by
// row.
constexpr long long kWholeBufferPixels = 8LL * 1024 * 1024;

std::string EncodeByRows(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Runs work(0) .. work(count - 1) on up to `threads` threads, the calling thread one of them; a
// thread that cannot start leaves its share to the others. False when a piece failed.
bool RunPieces(int count, int threads, const std::function<bool(int)>& work) {
    std::atomic<int> next{0};
    std::atomic<bool> ok{true};
    auto loop = [&]() noexcept {
        for (int i = next++; i < count && ok; i = next++) {
            try {
                if (!work(i)) ok = false;
            } catch (...) {
                ok = false;
            }
        }
    };
    std::vector<std::thread> started;
    try {
        started.reserve(static_cast<std::size_t>(threads));
        for (int t = 1; t < threads; ++t) started.emplace_back(loop);
    } catch (const std::system_error&) {
    } catch (const std::bad_alloc&) {
    }
    loop();
    for (std::thread& t : started) t.join();
    return ok;
}

// A run of rows, filtered and compressed on its own. Each band's deflate output ends on a full
// flush (byte-aligned, and nothing after it refers back), so the pieces joined make one stream;
// the last band ends it.
struct Band {
    int y0 = 0, y1 = 0;
    bool indexed = false;
    Palette palette;
    std::vector<std::uint8_t> raw;
    std::size_t rawSize = 0;
    std::uint32_t adler = 1;
    std::vector<char> packed;
};

struct DeflateEnd {
    void operator()(z_stream* s) const { deflateEnd(s); }
};

bool Deflate(Band& band, bool last, int strategy) {
    z_stream s{};
    if (deflateInit2(&s, kLevel, Z_DEFLATED, -15, 8, strategy) != Z_OK) return false;
    std::unique_ptr<z_stream, DeflateEnd> end(&s);
    // Line drawings shrink tenfold or more: a quarter of the input is room enough at first.
    band.packed.resize(band.raw.size() / 4 + 64);
    s.next_in = band.raw.data();
    s.avail_in = static_cast<uInt>(band.raw.size());  // kWholeBufferPixels keeps it in range
    const int flush = last ? Z_FINISH : Z_FULL_FLUSH;
    for (;;) {
        s.next_out = reinterpret_cast<Bytef*>(band.packed.data()) + s.total_out;
        s.avail_out = static_cast<uInt>(band.packed.size() - s.total_out);
        const int result = deflate(&s, flush);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) return false;
        if (last ? result == Z_STREAM_END : s.avail_in == 0 && s.avail_out != 0) break;
        band.packed.resize(band.packed.size() * 2);
    }
    band.packed.resize(s.total_out);
    return true;
}

// Rows split in at least kBands bands, more on a machine of more cores, so that the file is the
// same on most machines.
constexpr int kBands = 8;

std::vector<Band> SplitRows(int height, int threads) {
    const int count = std::max(1, std::min(height, std::max(kBands, threads)));
    std::vector<Band> bands(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        bands[i].y0 = static_cast<int>(static_cast<long long>(height) * i / count);
        bands[i].y1 = static_cast<int>(static_cast<long long>(height) * (i + 1) / count);
    }
    return bands;
}

// The bands' palettes joined in row order, which gives each colour the index one pass over the
// whole picture would; false when together they have more than 256 colours. map[b][i] is the
// whole picture's index of band b's colour i.
bool JoinPalettes(const std::vector<Band>& bands, Palette& palette,
                  std::vector<std::array<std::uint8_t, 256>>& map) {
    map.resize(bands.size());
    for (std::size_t b = 0; b < bands.size(); ++b) {
        if (!bands[b].indexed) return false;
        const std::vector<std::uint32_t>& colors = bands[b].palette.Colors();
        for (std::size_t i = 0; i < colors.size(); ++i) {
            if (!palette.Add(colors[i], map[b][i])) return false;
        }
    }
    return true;
}

void Renumber(std::vector<std::uint8_t>& raw, const std::array<std::uint8_t, 256>& map,
              std::size_t colors, int width) {
    bool same = true;
    for (std::size_t i = 0; i < colors; ++i) same = same && map[i] == i;
    if (same) return;
    const std::size_t stride = static_cast<std::size_t>(width) + 1;
    for (std::size_t at = 0; at < raw.size(); at += stride) {
        for (std::size_t x = at + 1; x < at + stride; ++x) raw[x] = map[raw[x]];
    }
}

// The IDAT chunk of one zlib stream: its header, the bands' pieces and the rows' checksum.
// kWholeBufferPixels keeps it far below a chunk's limit of 2^31 bytes.
void PutImageData(std::string& out, const std::vector<Band>& bands) {
    const char head[2] = {0x78, 0x01};  // deflate with a 32 KiB window, fastest level
    std::size_t size = sizeof head + 4;
    std::uint32_t adler = bands[0].adler;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        size += bands[i].packed.size();
        if (i > 0) {
            adler = static_cast<std::uint32_t>(
                adler32_combine(adler, bands[i].adler, static_cast<z_off_t>(bands[i].rawSize)));
        }
    }
    PutU32(out, static_cast<std::uint32_t>(size));
    const std::size_t at = out.size();
    out.append("IDAT", 4);
    out.append(head, sizeof head);
    for (const Band& band : bands) out.append(band.packed.data(), band.packed.size());
    PutU32(out, adler);
    PutU32(out, libdeflate_crc32(0, out.data() + at, size + 4));
}
}  // namespace

std::string EncodePng(const QImage& image) try {
    const int w = image.width(), h = image.height();
    if (static_cast<long long>(w) * h > kWholeBufferPixels) return EncodeByRows(image);
    const int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<Band> bands = SplitRows(h, threads);
    const int count = static_cast<int>(bands.size());
    const int workers = std::min(threads, count);

    if (!RunPieces(count, workers, [&](int i) {
            Band& band = bands[i];
            band.indexed = IndexedRows(image, band.y0, band.y1, band.palette, band.raw);
            return true;
        })) {
        return {};
    }
    Palette palette;
    std::vector<std::array<std::uint8_t, 256>> map;
    const bool indexed = JoinPalettes(bands, palette, map);

    if (!RunPieces(count, workers, [&](int i) {
            Band& band = bands[i];
            if (indexed) {
                Renumber(band.raw, map[i], band.palette.Colors().size(), w);
            } else {
                RgbRows(image, band.y0, band.y1, band.raw);
            }
            band.rawSize = band.raw.size();
            band.adler = libdeflate_adler32(1, band.raw.data(), band.raw.size());
            const bool done = Deflate(band, i == count - 1, indexed ? Z_RLE : Z_DEFAULT_STRATEGY);
            std::vector<std::uint8_t>().swap(band.raw);
            return done;
        })) {
        return {};
    }

    std::string out("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    PutU32(header, static_cast<std::uint32_t>(w));
    PutU32(header, static_cast<std::uint32_t>(h));
    header.push_back(8);                // bits per sample
    header.push_back(indexed ? 3 : 2);  // palette or RGB
    header.append(3, '\0');             // deflate, adaptive filters, no interlace
    PutChunk(out, "IHDR", header.data(), header.size());
    if (indexed) {
        std::string plte;
        for (std::uint32_t c : palette.Colors()) {
            plte.push_back(static_cast<char>(c >> 16));
            plte.push_back(static_cast<char>(c >> 8));
            plte.push_back(static_cast<char>(c));
        }
        PutChunk(out, "PLTE", plte.data(), plte.size());
    }
    // The resolution the image carries, as other encoders write it.
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        std::string phys;
        PutU32(phys, static_cast<std::uint32_t>(image.dotsPerMeterX()));
        PutU32(phys, static_cast<std::uint32_t>(image.dotsPerMeterY()));
        phys.push_back(1);  // per metre
        PutChunk(out, "pHYs", phys.data(), phys.size());
    }
    PutImageData(out, bands);
    PutChunk(out, "IEND", nullptr, 0);
    return out;
} catch (const std::bad_alloc&) {
    return {};
}
