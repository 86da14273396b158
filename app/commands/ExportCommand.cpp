// File > Save As: the drawing exported to a plot or DXF file. The document keeps its own file
// and title; the export is the same code korvane-cli convert runs.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include "app/document/OpenDrawing.h"
#include "app/view/KorvaneView.h"
#include "app/work/BackgroundWork.h"
#include "dxf/DxfExport.h"
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"
#include "render/qt/PictureWriter.h"
#include "render/qt/QPainterSurface.h"
#include "view/PlotView.h"
#include "view/ViewHost.h"
#include "widgets/Prompts.h"

namespace {
enum ExportType { kPlotType = 1, kDxfType = 2, kPngType, kSvgType, kPdfType };

// The view's current picture at its size: one whole paint of what it shows now. Run off the
// window's thread (RunHeld), so the pass has a host of the view's size that never touches it.
SaveResult WritePicture(PlotView& view, const PrimitiveList& primitives, int width, int height,
                        int type, const std::string& out, const std::string& title) {
    const PicturePainter paint = [&](QPainter& painter, bool polylines) {
        QPainterSurface surface(painter, polylines);
        FixedSizeHost host(width, height);
        PaintPass pass(view, surface, host, primitives, /*fitToPage, for printers only*/ 0);
        while (pass.Step(4096)) {
        }
        pass.Finish();
    };
    SaveResult result;
    try {
        const std::string error = type == kPngType   ? WritePng(out, width, height, paint)
                                  : type == kSvgType ? WriteSvg(out, width, height, title, paint)
                                                     : WritePdf(out, width, height, paint);
        if (!error.empty()) result = {SaveResult::Error::kFile, FileErrorCause::Other, error, out};
    } catch (const FileError& e) {
        result = SaveResult::FromFileError(e);
    }
    return result;
}
}  // namespace

bool OpenDrawing::SaveAs(CKorvaneView& view) {
    // Filter indexes follow ExportType, and so do the extensions.
    const QStringList filters = {
        QStringLiteral("Korvane Files (*.plt)"), QStringLiteral("AutoCAD DXF Files (*.dxf)"),
        QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)"),
        QStringLiteral("PDF document (*.pdf)")};
    const QStringList extensions = {QStringLiteral("plt"), QStringLiteral("dxf"),
                                    QStringLiteral("png"), QStringLiteral("svg"),
                                    QStringLiteral("pdf")};
    int filter = kPlotType;
    // The chooser offers the document's own name, in its folder, with the selected type's
    // extension (the chooser changes it with the type).
    const QString base = m_path.isEmpty() ? m_title : QFileInfo(m_path).completeBaseName();
    QString path = base + QLatin1Char('.') + extensions[filter - 1];
    if (!m_path.isEmpty()) path = QFileInfo(m_path).dir().filePath(path);
    if (!m_prompts.ChooseFile(QStringLiteral("Export to file..."), QStringLiteral("plt"), filters,
                              path, true, filter)) {
        if (path == QLatin1String("InvalidFileName")) {
            m_prompts.Warning(QStringLiteral("Invalid filename."));
        }
        return false;
    }
    // A typed extension that names one of the types picks it, whatever filter is selected.
    const int typed = extensions.indexOf(QFileInfo(path).suffix().toLower());
    if (typed >= 0) filter = typed + 1;
    if (filter == kDxfType && !EditExportSettings(&view)) return false;
    m_watcher.blockSignals(true);
    const std::string target = QFile::encodeName(path).toStdString();
    SaveResult result;
    // Plot and DXF files of millions of records take seconds: written off the window's thread.
    const QString exporting = QStringLiteral("Exporting %1...").arg(QFileInfo(path).fileName());
    QString failure;
    if (filter == kDxfType) {
        failure = m_background.Run(
            &view, exporting, [&] { result = ExportDxf(std::as_const(*m_doc), target); }, this);
    } else if (filter == kPlotType) {
        failure = m_background.Run(
            &view, exporting, [&] { result = std::as_const(*m_doc).WriteCopy(target); }, this);
    } else {
        const int width = view.ClientWidth(), height = view.ClientHeight();
        const std::string title = m_title.toStdString();
        failure = view.RunHeld(exporting, [&] {
            result = WritePicture(view.View(), m_doc->Primitives(), width, height, filter, target,
                                  title);
        });
    }
    // Written over its own file: that file is now the one the document knows.
    if (failure.isEmpty() && result.Ok() && QFileInfo(path).absoluteFilePath() == m_path) {
        KnowOwnFile();
    }
    Watch();
    m_watcher.blockSignals(false);
    if (!failure.isEmpty() || !result.Ok()) {
        m_prompts.Warning(failure.isEmpty() ? SaveErrorText(result) : failure);
        return false;
    }
    // A picture does not hold the drawing: the changes are still to be saved.
    if (filter == kPlotType || filter == kDxfType) SetModifiedFlag(false);
    emit titlesChanged();
    return true;
}
