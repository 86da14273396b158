#pragma once

#include <QDialog>
#include <QString>

// "Drawing Status": the size of a view's drawing in inches (its largest x and y since the
// view was created) and the number of primitives its last paint went through. The largest x
// and y come in resolution units, resolution to the inch; they are divided in double, as
// korvane-cli info does, so a figure on a 0.005-inch boundary rounds the same in both.
class CStatusDlg : public QDialog {
  public:
    CStatusDlg(float maxX, float maxY, int resolution, int drawnCount, QWidget* parent = nullptr);

    // The figures as shown: "%d", "%.2f", "%.2f".
    QString m_count, m_sizeX, m_sizeY;
};
