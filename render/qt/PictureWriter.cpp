#include "render/qt/PictureWriter.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "plot/Archive.h"
#include "render/qt/PngWriter.h"
#include "render/qt/SvgStream.h"

namespace {
// Replaces out with bytes only once they are complete.
void Store(const std::string& out, const char* data, std::size_t size) {
    Archive archive = Archive::CreateForStore(out, 64 * 1024);
    archive.Write(data, size);
    archive.Commit();
}

constexpr int kBandsPerThread = 1;

// Paints image in horizontal bands taken in turn by up to threads threads, the caller's among
// them. Each band is an image over its own rows of the picture's memory with a painter of its
// own, as Qt's raster engine allows one painter per image on any thread. A thread that cannot
// be started leaves its bands to the others; the first failure of a band is rethrown here once
// every thread has stopped.
void PaintBands(QImage& image, bool antialias, const PicturePainter& paint, int threads) {
    const int width = image.width(), height = image.height();
    const qsizetype stride = image.bytesPerLine();
    uchar* const bits = image.bits();
    const QImage::Format format = image.format();
    // Every band draws the whole drawing and the raster engine culls what falls outside, so
    // each costs a walk over the drawing: a few bands a thread even out dense and empty rows.
    const int bands = threads <= 1 ? 1 : std::min(height, kBandsPerThread * threads);
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&] {
        for (int band = next++; band < bands && !failed; band = next++) {
            const int top = static_cast<int>(static_cast<long long>(height) * band / bands);
            const int bottom =
                static_cast<int>(static_cast<long long>(height) * (band + 1) / bands);
            try {
                QImage whole(bits, width, height, stride, format);
                QPainter painter(&whole);
                painter.setClipRect(QRect(0, top, width, bottom - top));
                painter.setRenderHint(QPainter::Antialiasing, antialias);
                painter.fillRect(QRect(0, top, width, bottom - top), Qt::white);
                paint(painter, false);
            } catch (...) {
                const std::lock_guard<std::mutex> hold(failureLock);
                if (!failure) failure = std::current_exception();
                failed = true;
            }
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < std::min(threads, bands); ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;
        } catch (const std::bad_alloc&) {
            break;
        }
    }
    work();
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
}
}  // namespace

void Store(const std::string& out, const QByteArray& bytes) {
    Store(out, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string WritePng(const std::string& out, int width, int height, const PicturePainter& paint,
                     bool antialias, int threads) {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return out + ": not enough memory for an image of " + std::to_string(width) + "x" +
               std::to_string(height);
    }
    PaintBands(image, antialias, paint, threads);
    const std::string png = EncodePng(image);
    if (png.empty()) return out + ": not enough memory to encode the PNG image";
    Store(out, png.data(), png.size());
    return {};
}

std::string WriteSvg(const std::string& out, int width, int height, const std::string& title,
                     const PicturePainter& paint) {
    // Written as it is painted: a large drawing's SVG never sits in memory whole. A write error
    // is kept and thrown once the painter is done, never through Qt's code.
    Archive archive = Archive::CreateForStore(out, 64 * 1024);
    std::exception_ptr failure;
    auto sink = [&](const std::string& piece) {
        if (failure) return;
        try {
            archive.Write(piece.data(), piece.size());
        } catch (...) {
            failure = std::current_exception();
        }
    };
    SvgStream svg(QSize(width, height), QString::fromStdString(title), sink);
    {
        QPainter painter(&svg);
        painter.fillRect(QRect(0, 0, width, height), Qt::white);
        paint(painter, true);
    }
    if (failure) std::rethrow_exception(failure);
    archive.Commit();
    return {};
}

std::string WritePdf(const std::string& out, int width, int height, const PicturePainter& paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(width * 0.75, height * 0.75), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        auto painter = std::make_unique<QPainter>(&pdf);
        painter->fillRect(QRect(0, 0, width, height), Qt::white);
        paint(*painter, true);
        // The document is composed in end(), where memory most often runs out. A painter whose
        // end() failed midway would run it again from its destructor, and throw from there; it
        // is let go of instead, so the failure reaches the caller.
        try {
            painter->end();
        } catch (...) {
            (void)painter.release();
            throw;
        }
    }
    Store(out, bytes);
    return {};
}
