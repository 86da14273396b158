#pragma once

#include <QMdiSubWindow>

class CKorvaneView;

// The frame of one view in the main window's workspace. Closing the last view of a modified
// document asks to save it first.
class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
  public:
    explicit CChildFrame(CKorvaneView* view);
    CKorvaneView* View() const { return m_view; }
    // Closes without asking (the user has already been asked).
    void CloseWithoutPrompt();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    CKorvaneView* m_view;
    bool m_prompted = false;
};
