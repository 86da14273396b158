// Documents, menus and the main frame's life, driven through the real windows.
#include <QAccessible>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>

#include "app/AppFixture.h"
#include "plot/KorvaneDoc.h"
#include "support/PlotBytes.h"

namespace {
// The menu bar as text: "&File: &New\tCtrl+N | ... | - | ..." per menu, "-" for a separator.
QStringList Menus(QMenuBar* bar) {
    QStringList menus;
    for (QAction* top : bar->actions()) {
        QStringList items;
        for (QAction* a : top->menu()->actions()) items << (a->isSeparator() ? "-" : a->text());
        menus << top->text() + ": " + items.join(" | ");
    }
    return menus;
}

QString WriteFile(const QTemporaryDir& dir, const char* name, const std::string& bytes) {
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

// Prompts that note, when the save question comes, what the settings hold at that moment.
class NotingPrompts : public ScriptedPrompts {
  public:
    Answer AskYesNoCancel(const QString& text) override {
        m_cfgFileWhenAsked = QSettings(kOrganisation, kApplication).value("CfgFile").toString();
        return ScriptedPrompts::AskYesNoCancel(text);
    }
    QString m_cfgFileWhenAsked;
};
}  // namespace

TEST_F(AppTest, MenusSwitchWithTheFirstAndLastDocument) {
    Start({});  // no argument: one new, empty document
    ASSERT_EQ(m_app->Documents().size(), 1u);
    EXPECT_EQ(m_app->Documents()[0]->Title(), "Korvane1");
    const QStringList documentMenus = Menus(Frame().menuBar());
    EXPECT_EQ(documentMenus,
              (QStringList{"&File: &New\tCtrl+N | &Open...\tCtrl+O | &Close\tCtrl+W | "
                           "&Save\tCtrl+S | Save &As... | - | &Print...\tCtrl+P | Print Pre&view | "
                           "P&rint Setup... | Pa&ge Setup | - | Recent File | - | E&xit",
                           "&Edit: &Copy\tCtrl+C | &Paste\tCtrl+V | &Insert",
                           "&View: &Toolbar | &Status Bar | &Zoomed View | &Normal View | "
                           "&Options...",
                           "F&ormat: &Font and Line...",
                           "&Window: &New Window | &Cascade | &Tile | &Arrange Icons",
                           "&Help: &Drawing Status... | &About Korvane..."}));
    // The prompt: the status bar's text, then the tool tip.
    EXPECT_EQ(Command("Open").statusTip(), "Open an existing document");
    EXPECT_EQ(Command("Open").toolTip(), "Open");
    EXPECT_EQ(Command("Normal View").toolTip(), " Zoom All");
    QTest::keyClick(&View(), Qt::Key_W, Qt::ControlModifier);  // Close
    Settle();
    EXPECT_TRUE(m_app->Documents().empty());
    EXPECT_EQ(Menus(Frame().menuBar()),
              (QStringList{"&File: &New\tCtrl+N | &Open...\tCtrl+O | - | P&rint Setup... | - | "
                           "Recent File | - | E&xit",
                           "&View: &Toolbar | &Status Bar", "&Help: &About korvane..."}));
    EXPECT_FALSE(Command("Zoom Window").isEnabled());
    Run("New");
    EXPECT_EQ(Menus(Frame().menuBar()), documentMenus);
    EXPECT_EQ(m_app->Documents()[0]->Title(), "Korvane2");
}

TEST_F(AppTest, OpeningRecordsRecentFilesAndRefusesWhatIsNotAPlot) {
    QTemporaryDir dir;
    const QString garbage = WriteFile(dir, "notes.plt", "hello, this is text\n");
    const std::string damagedBytes = PlotBytes().Pinit().Ligne(1, 1, 2).I16(7).str();
    const QString damaged = WriteFile(dir, "damaged.plt", damagedBytes);
    Start({Sample("traverse.plt"), garbage, damaged, dir.filePath("missing.plt")});
    ASSERT_EQ(m_app->Documents().size(), 2u);
    EXPECT_EQ(m_prompts.m_shown.size(), 3);
    EXPECT_EQ(m_prompts.m_shown.value(0), "warning: " + garbage + " is not a plot file.");
    EXPECT_EQ(m_prompts.m_shown.value(1),
              QStringLiteral("warning: ") + CKorvaneDoc::kCorruptionMessage);
    EXPECT_EQ(m_prompts.m_shown.value(2),
              "warning: " + dir.filePath("missing.plt") + " was not found.");
    PlotDocument& partial = *m_app->Documents()[1];
    EXPECT_TRUE(partial.IsPartial());
    EXPECT_EQ(partial.Doc().m_primitives.size(), 2u);
    EXPECT_EQ(m_app->RecentFiles().value(0), QDir(dir.path()).absoluteFilePath("damaged.plt"));
    EXPECT_EQ(m_app->RecentFiles().value(1), QFileInfo(Sample("traverse.plt")).absoluteFilePath());

    // Saving what was read only in part asks first; No keeps the file as it was.
    m_prompts.m_shown.clear();
    m_prompts.QueueAnswer(Prompts::Answer::No);
    EXPECT_FALSE(partial.Save());
    ASSERT_EQ(m_prompts.m_shown.size(), 1);
    EXPECT_TRUE(m_prompts.m_shown[0].startsWith("ask: damaged.plt was read only up to"));
    EXPECT_EQ(QFileInfo(damaged).size(), static_cast<qint64>(damagedBytes.size()));
}

void Drop(CMainFrame& frame, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
}

TEST_F(AppTest, DroppedFilesOpen) {
    Start({Sample("traverse.plt")});
    Drop(Frame(), Sample("contours.plt"));
    Settle();
    ASSERT_EQ(m_app->Documents().size(), 2u);
    EXPECT_EQ(m_app->Documents()[1]->Title(), "contours.plt");
    EXPECT_EQ(Frame().windowTitle(), "korvane - [contours.plt]");
}

// A start without files shows Korvane1; the first file opened takes its place while it is
// untouched in one window. A drawing made by File > New stays. File > Open then starts in the
// active document's folder.
TEST_F(AppTest, TheFirstFileOpenedReplacesTheUntouchedStartDocumentOnly) {
    enum Before { kNothing, kModified, kTwoWindows, kFileNew };
    const struct {
        Before before;
        bool drop;
        bool replaced;
    } cases[] = {{kNothing, false, true},
                 {kNothing, true, true},
                 {kModified, false, false},
                 {kTwoWindows, false, false},
                 {kFileNew, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before * 2 + c.drop);
        TearDown();
        Start({});
        ASSERT_EQ(m_app->Documents().size(), 1u);
        EXPECT_EQ(m_app->Documents()[0]->Title(), "Korvane1");
        if (c.before == kModified) View().GetDocument().SetModifiedFlag();
        if (c.before == kTwoWindows) Run("New Window");
        if (c.before == kFileNew) {
            Run("Close");
            Run("New");
        }
        if (c.drop) {
            Drop(Frame(), Sample("traverse.plt"));
        } else {
            m_prompts.QueueChoice({true, Sample("traverse.plt"), 1});
            Run("Open");
        }
        Settle();
        ASSERT_EQ(m_app->Documents().size(), c.replaced ? 1u : 2u);
        EXPECT_EQ(m_app->Documents().back()->Title(), "traverse.plt");
        EXPECT_EQ(Frame().MdiArea()->subWindowList().size(),
                  c.replaced ? 1 : 2 + (c.before == kTwoWindows));
        if (c.replaced) EXPECT_TRUE(Frame().MdiArea()->subWindowList()[0]->isMaximized());
        m_prompts.QueueCancel();
        Run("Open");
        EXPECT_EQ(m_prompts.m_lastInitialPath, QFileInfo(Sample("traverse.plt")).absolutePath());
    }
}

// The underlined letter of a caption, upper case; none for "&1 plan.plt" and the like.
QChar Mnemonic(const QString& caption) {
    const int at = caption.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < caption.size() && caption[at + 1].isLetter()
               ? caption[at + 1].toUpper()
               : QChar();
}

// In both menu states and after each switch: no two menus and no two items of one menu share
// an Alt letter, a screen reader finds every item of every menu with its caption, and every
// item with a key shows it.
TEST_F(AppTest, MenusHaveUniqueMnemonicsAndListEveryItemToScreenReaders) {
    QAccessible::setActive(true);
    Start({});
    // The prompt pane reads what it shows.
    EXPECT_EQ(Frame().statusBar()->accessibleName(), "Ready");
    Command("Open").showStatusText(&Frame());
    EXPECT_EQ(Frame().statusBar()->accessibleName(), "Open an existing document");
    for (const char* step : {"", "Close", "New", "Close", "New"}) {
        SCOPED_TRACE(step);
        if (*step) Run(step);
        QString bar;
        for (QAction* top : Frame().menuBar()->actions()) {
            const QChar letter = Mnemonic(top->text());
            EXPECT_FALSE(bar.contains(letter)) << top->text().toStdString();
            bar += letter;
            QMenu* menu = top->menu();
            QString letters;
            QAccessibleInterface* list = QAccessible::queryAccessibleInterface(menu);
            ASSERT_NE(list, nullptr);
            ASSERT_EQ(list->childCount(), menu->actions().size()) << top->text().toStdString();
            for (int i = 0; i < menu->actions().size(); ++i) {
                QAction* item = menu->actions()[i];
                QAccessibleInterface* entry = list->child(i);
                ASSERT_TRUE(entry && entry->isValid()) << item->text().toStdString();
                if (item->isSeparator()) continue;
                EXPECT_EQ(entry->text(QAccessible::Name), QString(item->text()).remove('&'));
                // A command with a key shows it in its menu.
                const QString key = item->shortcut().toString(QKeySequence::NativeText);
                if (!key.isEmpty())
                    EXPECT_TRUE(item->text().endsWith('\t' + key)) << key.toStdString();
                const QChar mnemonic = Mnemonic(item->text());
                if (mnemonic.isNull()) continue;
                EXPECT_FALSE(letters.contains(mnemonic)) << item->text().toStdString();
                letters += mnemonic;
            }
        }
    }
}

TEST_F(AppTest, ClosingAModifiedDocumentAsks) {
    Start({Sample("traverse.plt")});
    PlotDocument& document = View().GetDocument();
    document.SetModifiedFlag();
    m_prompts.QueueAnswer(Prompts::Answer::Cancel);
    Run("Close");
    EXPECT_EQ(m_prompts.m_shown, QStringList{"ask: Save changes to traverse.plt?"});
    ASSERT_EQ(m_app->Documents().size(), 1u);
    // The window's own close box asks the same when it shows the last view.
    m_prompts.QueueAnswer(Prompts::Answer::No);
    Frame().MdiArea()->activeSubWindow()->close();
    Settle();
    EXPECT_EQ(m_prompts.m_shown.size(), 2);
    EXPECT_TRUE(m_app->Documents().empty());
}

TEST(MainFrame, WritesTheConfigurationPathBeforeAskingToSave) {
    NotingPrompts prompts;
    CKorvaneApp app(prompts);
    QSettings(kOrganisation, kApplication).setValue("CfgFile", "/tmp/last.cfg");
    ASSERT_TRUE(app.InitInstance({}, false));
    EXPECT_EQ(g_cfgFilePath, "/tmp/last.cfg");  // read when the main frame is made
    g_cfgFilePath = "/tmp/chosen.cfg";
    app.Documents()[0]->SetModifiedFlag();
    prompts.QueueAnswer(Prompts::Answer::Cancel);
    EXPECT_FALSE(app.MainFrame()->close());  // cancelled: the program stays
    EXPECT_EQ(prompts.m_cfgFileWhenAsked, "/tmp/chosen.cfg");
    EXPECT_EQ(prompts.m_shown, QStringList{"ask: Save changes to Korvane1?"});

    g_cfgFilePath.clear();  // written also when empty
    prompts.QueueAnswer(Prompts::Answer::No);
    EXPECT_TRUE(app.MainFrame()->close());
    EXPECT_EQ(QSettings(kOrganisation, kApplication).value("CfgFile").toString(), "");
}

TEST_F(AppTest, AChangedFileIsOfferedForReloading) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.plt");
    ASSERT_TRUE(QFile::copy(Sample("traverse.plt"), path));
    Start({path});
    PlotDocument& document = View().GetDocument();
    const std::string bytes = PlotBytes().Pinit().Couleur(3).Ligne(4, 2, 2).Ligne(8, 6, 2).str();
    QFile::remove(path);
    WriteFile(dir, "plan.plt", bytes);
    m_prompts.QueueAnswer(Prompts::Answer::Yes);
    document.OnFileChanged();
    Settle();
    EXPECT_EQ(m_prompts.m_shown, QStringList{"ask: plan.plt has changed on disk.\nReload it?"});
    EXPECT_EQ(document.Doc().m_primitives.size(), 4u);
    // The view measured the new drawing and fitted itself to it: 8 x 6 inches.
    EXPECT_EQ(View().State().m_homeRight, 8.0f * 300);
    EXPECT_EQ(View().View().m_drawnCount, 4);
}
