#include <QBuffer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <clocale>
#include <cstdlib>
#include <exception>

#include "cli/Commands.h"
#include "cli/Converters.h"
#include "cli/Output.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "render/qt/QPainterSurface.h"
#include "render/qt/SvgStream.h"
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
    // A refused print job is reported in the command's own words.
    if (text.startsWith(QLatin1String("QPainter::begin(): Returned false"))) return;
    if (QtMessageHandler previous = PreviousHandler()) previous(type, context, text);
}

}  // namespace

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

namespace {

// The second paint of a new view of the given client size: the drawing fitted to it.
void Paint(CKorvaneDoc& doc, QPainter& painter, const ConvertOptions& options, bool polylines) {
    painter.fillRect(QRect(0, 0, options.width, options.height), Qt::white);
    FirstView view(doc, options.width, options.height, options.face, options.lineWidth);
    QPainterSurface surface(painter, polylines);
    view.Paint(surface);
}

// Replaces out with bytes only once they are complete.
}  // namespace

void Store(const std::string& out, const QByteArray& bytes) {
    Archive archive = Archive::CreateForStore(out, 64 * 1024);
    archive.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    archive.Commit();
}

int ConvertPng(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options) {
    const std::string size = std::to_string(options.width) + "x" + std::to_string(options.height);
    if (static_cast<long long>(options.width) * options.height > kMaxImagePixels) {
        return Fail(out + ": an image of " + size + " pixels is above the limit of 2^28 (" +
                    std::to_string(kMaxImagePixels) + ") pixels");
    }
    EnsureGuiApplication();
    QImage image(options.width, options.height, QImage::Format_RGB32);
    if (image.isNull()) return Fail(out + ": not enough memory for an image of " + size);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        Paint(doc, painter, options, false);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return Fail(out + ": could not encode the PNG image");
    Store(out, bytes);
    return kExitOk;
}

int ConvertSvg(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options) {
    EnsureGuiApplication();
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
    // The title is the input's file name, not the path it was reached by.
    const std::string& path = doc.GetPathName();
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    SvgStream svg(QSize(options.width, options.height), QString::fromStdString(name), sink);
    {
        QPainter painter(&svg);
        Paint(doc, painter, options, true);
    }
    if (failure) std::rethrow_exception(failure);
    archive.Commit();
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

bool FaceInstalled(const std::string& face) {
    EnsureGuiApplication();
    const QString wanted = QString::fromStdString(face);
    for (const QString& family : QFontDatabase::families()) {
        if (family.compare(wanted, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

int RunFonts(const Args& args) {
    if (!args.empty()) return Fail("usage: korvane-cli fonts");
    EnsureGuiApplication();
    StdOutput out;
    for (const QString& family : QFontDatabase::families()) out.Write(family.toStdString() + "\n");
    return out.Finish(kExitOk);
}
