#include "render/qt/PngWriter.h"

#include <libdeflate.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {
// On line drawings libdeflate's level 1 comes within a few per cent of zlib's default size at a
// fraction of its time; higher levels buy a few per cent more for twice the time.
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

// Filter byte 0 and one palette index per pixel; false when the picture has too many colours.
bool IndexedRows(const QImage& image, Palette& palette, std::vector<std::uint8_t>& raw) {
    const int w = image.width(), h = image.height();
    raw.resize(static_cast<std::size_t>(w + 1) * h);
    std::uint8_t* out = raw.data();
    std::uint32_t last = 0;
    std::uint8_t lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < h; ++y) {
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

// Filter byte 1 (Sub) and each pixel's red, green and blue less its left neighbour's.
void RgbRows(const QImage& image, std::vector<std::uint8_t>& raw) {
    const int w = image.width(), h = image.height();
    raw.resize((static_cast<std::size_t>(w) * 3 + 1) * h);
    std::uint8_t* out = raw.data();
    for (int y = 0; y < h; ++y) {
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

// libdeflate takes the filtered picture whole and writes its output whole, which beside the
// image itself would double the memory of a very large picture; those go through Qt's encoder,
// which compresses row by row.
constexpr long long kWholeBufferPixels = 8LL * 1024 * 1024;

std::string EncodeByRows(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};
}  // namespace

std::string EncodePng(const QImage& image) try {
    const int w = image.width(), h = image.height();
    if (static_cast<long long>(w) * h > kWholeBufferPixels) return EncodeByRows(image);
    Palette palette;
    std::vector<std::uint8_t> raw;
    const bool indexed = IndexedRows(image, palette, raw);
    if (!indexed) RgbRows(image, raw);

    std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(kLevel));
    if (!compressor) return {};
    // Line drawings shrink tenfold or more: a quarter of the input is room enough, and only a
    // picture that does not fit is compressed again into the worst case's room.
    std::vector<char> packed(raw.size() / 4 + 1024);
    std::size_t packedSize = libdeflate_zlib_compress(compressor.get(), raw.data(), raw.size(),
                                                      packed.data(), packed.size());
    if (packedSize == 0) {
        packed.resize(libdeflate_zlib_compress_bound(compressor.get(), raw.size()));
        packedSize = libdeflate_zlib_compress(compressor.get(), raw.data(), raw.size(),
                                              packed.data(), packed.size());
    }
    if (packedSize == 0) return {};
    std::vector<std::uint8_t>().swap(raw);

    std::string out("\x89PNG\r\n\x1a\n", 8);
    out.reserve(packedSize + 1024);
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
    // A chunk holds less than 2^31 bytes.
    constexpr std::size_t kMaxChunk = std::size_t(1) << 30;
    for (std::size_t at = 0; at < packedSize; at += kMaxChunk) {
        const std::size_t n = packedSize - at < kMaxChunk ? packedSize - at : kMaxChunk;
        PutChunk(out, "IDAT", packed.data() + at, n);
    }
    PutChunk(out, "IEND", nullptr, 0);
    return out;
} catch (const std::bad_alloc&) {
    return {};
}
