#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "app/Prompts.h"
#include "dxf/DxfConfig.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;

// "Save As DXF format": the export settings of one document. Fill m_parameters before showing
// it and read it back after OK. "Load..." and "Save..." exchange the settings with a
// configuration file; the path of the last one loaded or saved is *m_cfgPath (the process-wide
// g_cfgFilePath unless pointed elsewhere), the initial name of both choosers and replaced after
// each successful load or save. A field that does not read is said through prompts and keeps
// the dialog open with the focus on it.
class CDxfParms : public QDialog {
  public:
    explicit CDxfParms(Prompts& prompts, QWidget* parent = nullptr);

    DxfParameters m_parameters;
    std::string* m_cfgPath = &g_cfgFilePath;
    // Optional check of each layer name on OK, with the pen counted from 1: the message to
    // show for a name the export would refuse, or an empty string.
    std::function<std::string(int pen, const std::string& name)> m_checkLayerName;

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    enum class Exchange { ToControls, FromControls, FromControlsQuietly };
    // Moves every field between m_parameters and the controls. From the controls it stops at
    // the first field that does not read, says so and focuses it, unless quietly, in which
    // case that field keeps its value and the rest are read.
    bool UpdateData(Exchange direction);
    void OnLoad();
    void OnSave();
    QWidget* BuildLayers();
    QWidget* BuildConversion();
    QWidget* BuildCorners();

    Prompts& m_prompts;
    QLineEdit* m_layerName[8];
    QLineEdit* m_layerColor[8];
    // Per corner, in the order of the columns: X paper, Y paper, easting, northing, elevation.
    QLineEdit* m_corner[3][5];
    QComboBox* m_units;
    QLineEdit* m_originalScale;
    QButtonGroup* m_conversion;
};
