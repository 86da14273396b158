// File > Save As: the drawing exported to a plot, DXF, picture or GIS file. The document keeps its
// own file and title; the export is the same code korvane-cli convert runs.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include "app/document/OpenDrawing.h"
#include "app/settings/AppSettings.h"
#include "app/view/KorvaneView.h"
#include "app/work/BackgroundWork.h"
#include "app/work/JobRunner.h"
#include "dxf/DxfExport.h"
#include "gis/GisExport.h"
#include "plot/FileError.h"
#include "plot/KorvaneDoc.h"
#include "render/qt/PictureWriter.h"
#include "render/qt/QPainterSurface.h"
#include "view/PlotView.h"
#include "view/ViewHost.h"
#include "widgets/Prompts.h"

namespace {
enum ExportType {
    kPlotType = 1,
    kDxfType = 2,
    kPngType,
    kSvgType,
    kPdfType,
    kGpkgType,
    kGeoJsonType
};

// The view's current picture at its size: one whole paint of what it shows now, on a snapshot
// of the view off the window's thread, with a host of the view's size that never touches it.
// A stop leaves the file as it was (JobStopped, thrown before anything is stored).
SaveResult WritePicture(PlotView& view, const PrimitiveList& primitives, int width, int height,
                        int type, const std::string& out, const std::string& title,
                        const JobControl& control) {
    const SurfacePainter draw = [&](DrawSurface& surface) {
        FixedSizeHost host(width, height);
        PaintPass pass(view, surface, host, primitives, /*fitToPage, for printers only*/ 0);
        while (pass.Step(4096)) {
            if (control.Cancelled()) throw JobStopped();
        }
        pass.Finish();
    };
    const PicturePainter paint = [&](QPainter& painter, bool polylines) {
        QPainterSurface surface(painter, polylines);
        draw(surface);
    };
    SaveResult result;
    try {
        // Pixels in bands on all cores but the window's.
        const std::string error = type == kPngType
                                      ? WritePng(out, width, height, draw, true, BandThreads(true))
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
        QStringLiteral("PNG image (*.png)"),     QStringLiteral("SVG drawing (*.svg)"),
        QStringLiteral("PDF document (*.pdf)"),  QStringLiteral("GeoPackage (*.gpkg)"),
        QStringLiteral("GeoJSON (*.geojson)")};
    const QStringList extensions = {QStringLiteral("plt"),    QStringLiteral("dxf"),
                                    QStringLiteral("png"),    QStringLiteral("svg"),
                                    QStringLiteral("pdf"),    QStringLiteral("gpkg"),
                                    QStringLiteral("geojson")};
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
    const bool gis = filter == kGpkgType || filter == kGeoJsonType;
    if ((filter == kDxfType || gis) && !EditExportSettings(&view, gis)) return false;
    // Every record, whatever pens the view hides: the export holds the drawing.
    const GisOptions gisOptions{GisDriverOf(extensions[filter - 1].toStdString()),
                                m_settings.CoordinateSystem().toStdString()};
    m_watcher.blockSignals(true);
    const std::string target = QFile::encodeName(path).toStdString();
    SaveResult result;
    // Plot and DXF files of millions of records take seconds: written off the window's thread.
    const QString exporting = QStringLiteral("Exporting %1...").arg(QFileInfo(path).fileName());
    QString failure;
    bool stopped = false;
    if (filter == kDxfType || filter == kPlotType || gis) {
        // A save never stops: it finishes or leaves the old file.
        failure = m_background.Run(
            &view, exporting,
            [&, records = m_doc->Records(), settings = m_doc->GetDxfSettings()] {
                result = gis                  ? ExportGis(*records, settings, gisOptions, target)
                         : filter == kDxfType ? ExportDxf(*records, settings, target)
                                              : CKorvaneDoc::WriteRecords(*records, target);
            },
            this);
    } else {
        const int width = view.ClientWidth(), height = view.ClientHeight();
        const std::string title = m_title.toStdString();
        failure = view.RunOnSnapshot(exporting, [&](PlotView& shot, const PrimitiveList& primitives,
                                                    JobControl& control) {
            stopped = true;  // until the picture is stored
            result = WritePicture(shot, primitives, width, height, filter, target, title, control);
            stopped = false;
        });
    }
    if (stopped && failure.isEmpty()) {
        Watch();
        m_watcher.blockSignals(false);
        return false;
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
    if (filter == kPlotType || filter == kDxfType || gis) SetModifiedFlag(false);
    emit titlesChanged();
    return true;
}
