#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/KorvaneApp.h"
#include "app/ScriptedPrompts.h"
#include "app/document/OpenDrawing.h"
#include "app/frame/MainFrame.h"
#include "app/view/KorvaneView.h"

// The application started as a user starts it, in a main frame of fixed size, with the prompts
// answered by the test.
class AppTest : public ::testing::Test {
  protected:
    void Start(const QStringList& files) {
        m_app = std::make_unique<CKorvaneApp>(m_prompts);
        ASSERT_TRUE(m_app->InitInstance(files, false));
        Frame().resize(1000, 800);
        Frame().show();
        Settle();
    }
    void TearDown() override {
        if (m_app) m_app->CloseAllDocuments();
        Settle();
        m_app.reset();
    }
    // Handles what is queued (closing windows, the slices of a paint) until nothing is left.
    void Settle() {
        for (int i = 0; i < 1000; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            if (!AnyPainting()) {
                QCoreApplication::processEvents();
                if (!AnyPainting()) return;
            } else {
                // A paint runs off the window's thread; what it shows and its end come as events.
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            }
        }
    }
    bool AnyPainting() const {
        if (!m_app) return false;
        for (const auto& document : m_app->Documents()) {
            for (CKorvaneView* view : document->Views()) {
                if (view->Painting()) return true;
            }
        }
        return false;
    }
    CMainFrame& Frame() { return *m_app->MainFrame(); }
    CKorvaneView& View() {
        CKorvaneView* view = m_app->ActiveView();
        EXPECT_NE(view, nullptr);
        return *view;
    }
    QAction& Command(const char* name) {
        QAction* a = Frame().Command(QLatin1String(name));
        EXPECT_NE(a, nullptr) << name;
        return *a;
    }
    // Triggers a command as the menu or toolbar does, then lets the paint run.
    void Run(const char* name) {
        QAction& a = Command(name);
        EXPECT_TRUE(a.isEnabled()) << name;
        a.trigger();
        Settle();
    }
    static QString Sample(const char* name) {
        return QStringLiteral(KORVANE_SOURCE_DIR "/samples/") + QLatin1String(name);
    }

    ScriptedPrompts m_prompts;
    std::unique_ptr<CKorvaneApp> m_app;
};
