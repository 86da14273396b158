#pragma once

#include <QDialog>
#include <QString>

// "Drawing Status": the size of a view's drawing in inches (its largest x and y since the
// view was created) and the number of primitives its last paint went through.
class CStatusDlg : public QDialog {
  public:
    CStatusDlg(double widthInches, double heightInches, int drawnCount, QWidget* parent = nullptr);

    // The figures as shown: "%d", "%.2f", "%.2f".
    QString m_count, m_sizeX, m_sizeY;
};
