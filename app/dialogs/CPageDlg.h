#pragma once

#include <QDialog>

class QButtonGroup;

// "Page Setup": print at 1:1 scale (0) or fit the view's drawing to the page (1). Set
// m_printMode (the application's fit to page) before showing it; after OK it holds the choice.
class CPageDlg : public QDialog {
  public:
    explicit CPageDlg(QWidget* parent = nullptr);

    int m_printMode = 0;

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QButtonGroup* m_mode;
};
