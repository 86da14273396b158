#pragma once

#include <QDialog>
#include <string>

#include "plot/DxfSettings.h"
#include "widgets/Prompts.h"

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QVBoxLayout;

// "Save As DXF format": the export settings of one document. Fill m_parameters before showing
// it and read it back after OK. "Load..." and "Save..." exchange the settings with a
// configuration file; m_cfgPath is the initial name of both choosers (the program's last
// configuration path) and is replaced after each successful load or save, for the caller to
// keep, whether the dialog ends with OK or not. A field that does
// not read, or a layer name the export would refuse or a configuration file could not keep, is
// said through prompts and keeps the dialog open (at OK and Save...) with the focus on it.
class CDxfParms : public QDialog {
  public:
    explicit CDxfParms(Prompts& prompts, QWidget* parent = nullptr);

    DxfSettings m_parameters;
    std::string m_cfgPath;
    // The GIS export's coordinate system, in the field AskCoordinateSystem adds.
    QString m_coordinateSystem;

    // Makes this "Save As GIS format", with one more field, "Coordinate system" (an EPSG code,
    // WKT or PROJ string; empty for none). Call before showing it.
    void AskCoordinateSystem();

    void accept() override;
    QSize sizeHint() const override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    enum class Exchange { ToControls, FromControls, FromControlsQuietly };
    // Moves every field between m_parameters and the controls. From the controls it stops at
    // the first field that does not read, says so and focuses it, unless quietly, in which
    // case that field keeps its value and the rest are read.
    bool UpdateData(Exchange direction);
    // Says which layer name a configuration file could not keep (empty, or with white space)
    // and focuses it; true when every name is one word.
    bool LayerNamesKeepable();
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
    QLineEdit* m_crs = nullptr;
    QVBoxLayout* m_column = nullptr;
    QWidget* m_fields = nullptr;
};
