// Format > Georeference: the document's export settings, and so its world position, set in the
// export parameters dialog without exporting. A plot file does not hold them: nothing is
// modified.
#include "app/dialogs/CDxfParms.h"
#include "app/document/OpenDrawing.h"
#include "app/settings/AppSettings.h"
#include "plot/KorvaneDoc.h"
#include "widgets/Prompts.h"

bool OpenDrawing::EditExportSettings(QWidget* parent, bool gis) {
    LoadExportSettings();
    CDxfParms dialog(m_prompts, parent);
    if (gis) {
        dialog.AskCoordinateSystem();
        dialog.m_coordinateSystem = m_settings.CoordinateSystem();
    }
    dialog.m_parameters = m_doc->GetDxfSettings();
    dialog.m_cfgPath = m_settings.m_cfgFilePath;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // Loaded or saved there, the configuration file is the last one, whatever the answer.
    m_settings.m_cfgFilePath = dialog.m_cfgPath;
    if (!accepted) return false;
    if (gis) m_settings.SetCoordinateSystem(dialog.m_coordinateSystem);
    SetExportSettings(dialog.m_parameters);
    return true;
}

bool OpenDrawing::Georeference(QWidget* parent) {
    if (!EditExportSettings(parent)) return false;
    // Scaled settings that define no transform show no world position: the user is told why
    // rather than left to wonder where the pane went.
    const DxfSettings& settings = m_doc->GetDxfSettings();
    if (settings.conversionIndex != 0 && !m_world) {
        try {
            static_cast<void>(PaperToWorld(settings));
        } catch (const TransformError& e) {
            m_prompts.Warning(
                QStringLiteral("No world position is shown: %1.").arg(QString::fromUtf8(e.what())));
        }
    }
    return true;
}
