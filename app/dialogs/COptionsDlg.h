#pragma once

#include <QDialog>

#include "widgets/Prompts.h"

class QLineEdit;

// "Options": the zoom and pan step in percent. Set m_increment before showing it; after OK it
// holds the accepted step (1 to 99). A step that is not accepted is said through prompts and
// leaves the dialog open with the field selected.
class COptionsDlg : public QDialog {
  public:
    explicit COptionsDlg(Prompts& prompts, QWidget* parent = nullptr);

    unsigned m_increment = 0;

    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Prompts& m_prompts;
    QLineEdit* m_edit;
};
