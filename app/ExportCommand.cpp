// File > Save As: the drawing exported to a plot or DXF file. The document keeps its own file
// and title; the export is the same code korvane-cli convert runs.
#include <QFile>
#include <QFileInfo>

#include "app/KorvaneApp.h"
#include "app/PlotDocument.h"
#include "app/Prompts.h"
#include "app/dialogs/CDxfParms.h"
#include "dxf/DxfExport.h"
#include "plot/KorvaneDoc.h"

namespace {
enum ExportType { kPlotType = 1, kDxfType = 2 };
}

bool PlotDocument::SaveAs(QWidget* dialogParent) {
    // The chooser starts in the folder of the document's file.
    QString path = m_path.isEmpty() ? QString() : QFileInfo(m_path).absolutePath();
    int filter = kPlotType;
    if (!m_prompts.ChooseFile(
            QStringLiteral("Export to file..."), QStringLiteral("plt"),
            {QStringLiteral("Korvane Files (*.plt)"), QStringLiteral("AutoCAD DXF Files (*.dxf)")},
            path, true, filter)) {
        if (path == QLatin1String("InvalidFileName")) {
            m_prompts.Warning(QStringLiteral("Invalid filename."));
        }
        return false;
    }
    // The type is the selected filter's, whatever the name's extension says.
    if (filter == kDxfType) {
        CDxfParms dialog(m_prompts, dialogParent);
        dialog.m_parameters = m_doc->m_dxfSettings;
        dialog.m_cfgPath = &g_cfgFilePath;
        if (dialog.exec() != QDialog::Accepted) return false;
        m_doc->m_dxfSettings = dialog.m_parameters;
    }
    m_watcher.blockSignals(true);
    const std::string target = QFile::encodeName(path).toStdString();
    const SaveResult result =
        filter == kDxfType ? ExportDxf(*m_doc, target) : m_doc->ExportPlot(target);
    Watch();
    m_watcher.blockSignals(false);
    if (!result.Ok()) {
        m_prompts.Warning(SaveErrorText(result));
        return false;
    }
    SetModifiedFlag(false);
    emit titlesChanged();
    return true;
}
