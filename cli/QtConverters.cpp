#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <new>

#include "cli/Commands.h"
#include "cli/Converters.h"
#include "cli/Output.h"
#include "plot/KorvaneDoc.h"
#include "render/qt/PictureWriter.h"
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
    // Under an address-space limit Qt may fail to map its plugins, and then give up on starting
    // with a fatal message that would abort the process: reported as the lack of memory it is.
    static bool lackedMemory = false;
    // Once memory has failed, what follows is its consequence, told in the command's words.
    if (text.contains(QLatin1String("Cannot allocate memory"))) lackedMemory = true;
    if (lackedMemory && type != QtFatalMsg) return;
    if (type == QtFatalMsg) {
        const std::string why = "Qt stopped: " + text.toStdString();
        EndAbruptly(lackedMemory, why.c_str());
    }
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
    // A refused print job is reported in the command's own words.
    if (text.startsWith(QLatin1String("QPainter::begin(): Returned false"))) return;
    // A painter let go of after running out of memory; the command reports that itself.
    if (text.startsWith(QLatin1String("QPaintDevice: Cannot destroy paint device"))) return;
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
PicturePainter FittedPaint(CKorvaneDoc& doc, const ConvertOptions& options) {
    return [&doc, &options](QPainter& painter, bool polylines) {
        FirstView view(doc, options.width, options.height, options.face, options.lineWidth);
        QPainterSurface surface(painter, polylines);
        view.Paint(surface);
    };
}

int Done(const std::string& error) {
    return error.empty() ? kExitOk : Fail(error);
}
}  // namespace

int ConvertPng(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options) {
    const std::string size = std::to_string(options.width) + "x" + std::to_string(options.height);
    if (static_cast<long long>(options.width) * options.height > kMaxImagePixels) {
        return Fail(out + ": an image of " + size + " pixels is above the limit of 2^28 (" +
                    std::to_string(kMaxImagePixels) + ") pixels");
    }
    // Pixels need no application; only device fonts do, and starting one costs a third of a
    // small drawing's conversion.
    if (options.face != "Velmaro") EnsureGuiApplication();
    FirstView view(doc, options.width, options.height, options.face, options.lineWidth);
    const SurfacePainter paint = [&view](DrawSurface& surface) { view.Paint(surface); };
    // No window waits on this process: the bands use every core.
    const int threads = BandThreads(false);
    // The picture's only refusals are for memory: reported as every other lack of it.
    if (!WritePng(out, options.width, options.height, paint, options.antialias, threads).empty()) {
        throw std::bad_alloc();
    }
    return kExitOk;
}

int ConvertSvg(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options) {
    EnsureGuiApplication();
    // The title is the input's file name, not the path it was reached by.
    const std::string& path = doc.GetPathName();
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return Done(WriteSvg(out, options.width, options.height, name, FittedPaint(doc, options)));
}

int ConvertPdf(CKorvaneDoc& doc, const std::string& out, const ConvertOptions& options) {
    // 96 pixels to the inch: PDF readers honour pages of at most 200 inches a side.
    if (std::max(options.width, options.height) > kMaxPdfSide) {
        return Fail(out + ": a PDF page of " + std::to_string(options.width) + "x" +
                    std::to_string(options.height) + " pixels is above the limit of " +
                    std::to_string(kMaxPdfSide) + " pixels (200 inches) a side");
    }
    EnsureGuiApplication();
    return Done(WritePdf(out, options.width, options.height, FittedPaint(doc, options)));
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
