#include "render/qt/PictureWriter.h"

#include <pthread.h>
#include <sys/mman.h>

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <exception>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "plot/Archive.h"
#include "render/SurfaceRecording.h"
#include "render/qt/PngWriter.h"
#include "render/qt/QPainterSurface.h"
#include "render/qt/SvgStream.h"

namespace {
// Replaces out with bytes only once they are complete.
void Store(const std::string& out, const char* data, std::size_t size) {
    Archive archive = Archive::CreateForStore(out, 64 * 1024);
    archive.Write(data, size);
    archive.Commit();
}
}  // namespace

void Store(const std::string& out, const QByteArray& bytes) {
    Store(out, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

namespace {
// A painter over image, white, drawing crisp or antialiased pixels.
void BeginPicture(QPainter& painter, const QRect& area, bool antialias) {
    painter.setRenderHint(QPainter::Antialiasing, antialias);
    painter.fillRect(area, Qt::white);
}

std::string StorePng(const std::string& out, const QImage& image) {
    const std::string png = EncodePng(image);
    if (png.empty()) return out + ": not enough memory to encode the PNG image";
    Store(out, png.data(), png.size());
    return {};
}

std::string NoImage(const std::string& out, int width, int height) {
    return out + ": not enough memory for an image of " + std::to_string(width) + "x" +
           std::to_string(height);
}

// Plays the recorded paint onto one band of image's rows. Every band's painter is over the
// whole picture, clipped to its rows: a painter over the band alone would clip lines at its
// edges and set some of their pixels apart from one painter's.
void PaintBand(const QImage& image, uchar* bits, const QRect& rows, bool antialias,
               SurfaceRecording& recording, int player) {
    QImage whole(bits, image.width(), image.height(), image.bytesPerLine(), image.format());
    QPainter painter(&whole);
    painter.setClipRect(rows);
    BeginPicture(painter, rows, antialias);
    QPainterSurface surface(painter);
    recording.Play(surface, player);
}

}  // namespace

// A thread that cannot start leaves its rows to the bands that did.
void PaintInBands(QImage& image, bool antialias, const SurfacePainter& paint, int threads) {
    const int height = image.height();
    threads = std::max(1, std::min(threads, height));
    uchar* const bits = image.bits();  // taken here: the bands only read the image's shape
    // Questions about the device are answered by a painter over the picture that never draws.
    QImage whole(bits, image.width(), height, image.bytesPerLine(), image.format());
    QPainter devicePainter(&whole);
    QPainterSurface device(devicePainter);
    SurfaceRecording recording(device, threads);

    std::promise<int> bandsStarted;
    const std::shared_future<int> bands = bandsStarted.get_future().share();
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto fail = [&] {
        const std::lock_guard<std::mutex> hold(failureLock);
        if (!failure) failure = std::current_exception();
    };
    const auto band = [&, bands](int index) {
        pthread_setname_np(pthread_self(), "korvane-band");  // for top and perf
        const int count = bands.get();
        const auto edge = [&](int i) {
            return static_cast<int>(static_cast<long long>(height) * i / count);
        };
        try {
            const QRect rows(0, edge(index), image.width(), edge(index + 1) - edge(index));
            PaintBand(image, bits, rows, antialias, recording, index);
        } catch (...) {
            fail();
            recording.Leave(index);
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 0; i < threads; ++i) {
        try {
            helpers.emplace_back(band, i);
        } catch (...) {
            break;  // no thread for this band: the others share its rows
        }
    }
    const int started = static_cast<int>(helpers.size());
    for (int i = started; i < threads; ++i) recording.Leave(i);
    bandsStarted.set_value(started);
    if (started == 0) {
        recording.Stop();
        BeginPicture(devicePainter, image.rect(), antialias);
        paint(device);
        return;
    }
    try {
        paint(recording);
        recording.Close();
    } catch (...) {
        fail();
        recording.Stop();
    }
    for (std::thread& helper : helpers) helper.join();
    if (failure) std::rethrow_exception(failure);
}

std::string WritePng(const std::string& out, int width, int height, const SurfacePainter& paint,
                     bool antialias, int threads) {
    QImage image = PictureImage(width, height);
    if (image.isNull()) return NoImage(out, width, height);
    PaintInBands(image, antialias, paint, threads);
    return StorePng(out, image);
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

QImage PictureImage(int width, int height, QImage::Format format) {
    constexpr std::size_t kHuge = std::size_t(2) << 20;
    const std::size_t line = static_cast<std::size_t>(width) * 4;
    const std::size_t bytes = line * static_cast<std::size_t>(height);
    if (width <= 0 || height <= 0 || bytes / line != static_cast<std::size_t>(height) ||
        bytes > (std::size_t(1) << 32) || line > static_cast<std::size_t>(INT_MAX)) {
        return QImage(width, height, format);
    }
    const std::size_t rounded = (bytes + kHuge - 1) / kHuge * kHuge;
    void* memory = std::aligned_alloc(kHuge, rounded);
    if (!memory) return QImage();
    madvise(memory, rounded, MADV_HUGEPAGE);
    return QImage(
        static_cast<uchar*>(memory), width, height, static_cast<qsizetype>(line), format,
        [](void* p) { std::free(p); }, memory);
}

int BandThreads(bool keepOneCore) {
    const int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::max(1, keepOneCore ? cores - 1 : cores);
}
