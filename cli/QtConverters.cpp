#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <clocale>
#include <cstdlib>

#include "cli/Commands.h"
#include "cli/Converters.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "render/qt/PngWriter.h"
#include "render/qt/QPainterSurface.h"
#include "view/FirstView.h"

namespace {
// Qt's painting needs an application object; a command-line run has no display, so unless told
// otherwise it renders off screen. Made once, on the first conversion that needs it, and never
// destroyed: at exit Qt's own statics may already be gone.
QtMessageHandler& PreviousHandler() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

// Off screen, Qt notes on every run that no per-user runtime folder is set; it falls back to one
// of its own, which is all a conversion needs, so that note is noise to a command-line user.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    if (QtMessageHandler previous = PreviousHandler()) previous(type, context, text);
}

void EnsureGuiApplication() {
    static QGuiApplication* app = nullptr;
    if (app) return;
    PreviousHandler() = qInstallMessageHandler(FilterQtMessages);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "korvane-cli";
    static char* argv[] = {name, nullptr};
    app = new QGuiApplication(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
}

// The second paint of a new view of the given client size: the drawing fitted to it.
void Paint(CKorvaneDoc& doc, QPainter& painter, const ConvertOptions& options, bool polylines) {
    painter.fillRect(QRect(0, 0, options.width, options.height), Qt::white);
    FirstView view(doc, options.width, options.height, options.face, options.lineWidth);
    QPainterSurface surface(painter, polylines);
    view.Paint(surface);
}

// Replaces out with bytes only once they are complete.
void Store(const std::string& out, const char* data, std::size_t size) {
    Archive archive = Archive::CreateForStore(out, 64 * 1024);
    archive.Write(data, size);
    archive.Commit();
}

void Store(const std::string& out, const QByteArray& bytes) {
    Store(out, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
}  // namespace

int ConvertPng(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options) {
    EnsureGuiApplication();
    QImage image(options.width, options.height, QImage::Format_RGB32);
    if (image.isNull())
        return Fail(out + ": image of " + std::to_string(options.width) + "x" +
                    std::to_string(options.height) + " is too large");
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, options.antialias);
        Paint(doc, painter, options, false);
    }
    const std::string png = EncodePng(image);
    if (png.empty()) return Fail(out + ": not enough memory to encode the PNG image");
    Store(out, png.data(), png.size());
    return kExitOk;
}

int ConvertSvg(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options) {
    EnsureGuiApplication();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(options.width, options.height));
    svg.setViewBox(QRect(0, 0, options.width, options.height));
    svg.setResolution(96);
    svg.setTitle(QString::fromStdString(doc.GetPathName()));
    {
        QPainter painter(&svg);
        Paint(doc, painter, options, true);
    }
    Store(out, bytes);
    return kExitOk;
}

int ConvertPdf(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options) {
    EnsureGuiApplication();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        // One page the size of the simulated window, at 96 pixels to the inch.
        pdf.setPageSize(
            QPageSize(QSizeF(options.width * 0.75, options.height * 0.75), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        Paint(doc, painter, options, true);
    }
    Store(out, bytes);
    return kExitOk;
}
