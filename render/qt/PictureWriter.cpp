#include "render/qt/PictureWriter.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <exception>
#include <memory>

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
}  // namespace

void Store(const std::string& out, const QByteArray& bytes) {
    Store(out, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string WritePng(const std::string& out, int width, int height, const PicturePainter& paint,
                     bool antialias) {
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull()) {
        return out + ": not enough memory for an image of " + std::to_string(width) + "x" +
               std::to_string(height);
    }
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, antialias);
        painter.fillRect(QRect(0, 0, width, height), Qt::white);
        paint(painter, false);
    }
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
