#pragma once

#include <QDockWidget>
#include <QPointer>

#include "plot/DxfPens.h"

class OpenDrawing;
class QCheckBox;
class QHBoxLayout;
class QLabel;

// View > Pens: the eight pens of the DXF export for the active document, each with a check box
// that shows or hides its marks in every view of the document, a swatch of each colour its marks
// are drawn in, its layer and its count of marks. The document holds the state; the panel only
// shows it, and scans the drawing only while it is visible.
class PensPanel : public QDockWidget {
    Q_OBJECT
  public:
    explicit PensPanel(QWidget* parent);

    // The active document's (null: none).
    void SetDocument(OpenDrawing* document);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Refresh();
    void ShowSwatches(int pen, const std::vector<std::uint32_t>& colors, bool more);

    struct Entry {
        QCheckBox* shown = nullptr;
        QHBoxLayout* swatches = nullptr;
        QLabel* layer = nullptr;
        QLabel* marks = nullptr;
    };
    Entry m_entries[kDxfPens];
    QPointer<OpenDrawing> m_document;
    QMetaObject::Connection m_pensChanged;
    QMetaObject::Connection m_settingsChanged;
};
