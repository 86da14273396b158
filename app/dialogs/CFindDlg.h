#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;

// "Find Text": a modeless dialog with what to find, "Match case", "Find Next" and
// "Find Previous". The buttons hand the search to onFind (true: forward); the dialog itself
// searches nothing, so the frame can run the same search from F3 with the dialog closed.
class CFindDlg : public QDialog {
  public:
    explicit CFindDlg(QWidget* parent = nullptr);

    QString Text() const;
    bool MatchCase() const;

    std::function<void(bool forward)> onFind;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* m_text;
    QCheckBox* m_matchCase;
};
