#pragma once

#include <QDialog>
#include <QString>

class CFontPreviewCombo;
class QComboBox;

// "Font and Line": the face name of a view's text and the width of its pens. The list holds the
// stroke font first, then the installed families. Opens on the first listed face that begins
// with face (the first when none does) and on the line width lineWidth (pen width 0 to 4, shown
// as "1" to "5"). After OK, FaceName() and LineWidth() hold the choice; a face left where the
// dialog opened keeps face, and a line-width text that names no item keeps lineWidth.
class CFasterFontDlg : public QDialog {
  public:
    CFasterFontDlg(const QString& face, int lineWidth, QWidget* parent = nullptr);

    QString FaceName() const { return m_fontName; }
    int LineWidth() const { return m_lineIndex; }

    void accept() override;

  private:
    QString m_fontName;
    int m_lineIndex;
    int m_openedOn = -1;
    QComboBox* m_lineCombo;
    CFontPreviewCombo* m_fontCombo;
};
