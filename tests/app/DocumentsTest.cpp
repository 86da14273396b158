// Documents, menus and the main frame's life, driven through the real windows.
#include <sys/resource.h>

#include <QAccessible>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
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
                           "&Edit: &Copy\tCtrl+C | &Paste\tCtrl+V | &Insert | - | "
                           "&Find...\tCtrl+F | Find &Next\tF3 | Find Pre&vious\tShift+F3",
                           "&View: &Toolbar | &Status Bar | &Zoomed View | &Normal View\tHome | "
                           "Zoom &In\tCtrl+= | Zoom O&ut\tCtrl+- | Zoom &Window | Zoom &Previous | "
                           "&Measure | &Options... | - | P&ens",
                           "F&ormat: &Font and Line... | &Georeference...",
                           "&Window: &New Window | &Cascade | &Tile | &Arrange Icons | "
                           "Ne&xt Window\tCtrl+Tab | Pre&vious Window\tCtrl+Shift+Tab | - | "
                           "&1 Korvane1",  // the window list
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
    EXPECT_EQ(Menus(Frame().menuBar()),
              QStringList(documentMenus).replaceInStrings("&1 Korvane1", "&1 Korvane2"));
    EXPECT_EQ(m_app->Documents()[0]->Title(), "Korvane2");
}

TEST_F(AppTest, AboutNamesThisVersion) {
    Start({});
    QString shown;
    QTimer::singleShot(0, [&] {
        QWidget* about = QApplication::activeModalWidget();
        for (const QLabel* label : about->findChildren<QLabel*>()) shown += label->text();
        QTest::keyClick(about, Qt::Key_Return);
    });
    Run("About");
    EXPECT_EQ(shown, "Korvane Version " KORVANE_VERSION);
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
    OpenDrawing& partial = *m_app->Documents()[1];
    EXPECT_TRUE(partial.IsPartial());
    EXPECT_EQ(partial.Doc().Primitives().size(), 2u);
    EXPECT_EQ(m_app->Settings().RecentFiles().value(0),
              QDir(dir.path()).absoluteFilePath("damaged.plt"));
    EXPECT_EQ(m_app->Settings().RecentFiles().value(1),
              QFileInfo(Sample("traverse.plt")).absoluteFilePath());

    // Saving what was read only in part asks first; No keeps the file as it was.
    m_prompts.m_shown.clear();
    m_prompts.QueueAnswer(Prompts::Answer::No);
    EXPECT_FALSE(partial.Save());
    ASSERT_EQ(m_prompts.m_shown.size(), 1);
    EXPECT_TRUE(m_prompts.m_shown[0].startsWith("ask: damaged.plt was read only up to"));
    EXPECT_EQ(QFileInfo(damaged).size(), static_cast<qint64>(damagedBytes.size()));
}

TEST_F(AppTest, DroppedFilesOpen) {
    Start({Sample("traverse.plt")});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Sample("contours.plt"))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Frame(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Frame(), &drop);
    Settle();
    ASSERT_EQ(m_app->Documents().size(), 2u);
    EXPECT_EQ(m_app->Documents()[1]->Title(), "contours.plt");
    EXPECT_EQ(Frame().windowTitle(), "korvane - [contours.plt]");
}

// The first file opened replaces the start-up Korvane1 while it is untouched in one window; a
// drawing made by File > New stays. File > Open then starts in the active document's folder.
TEST_F(AppTest, TheFirstFileOpenedReplacesTheUntouchedStartDocumentOnly) {
    const std::pair<const char*, bool> cases[] = {
        {"", true}, {"Modify", false}, {"New Window", false}, {"Close", false}};
    for (const auto& [before, replaced] : cases) {
        TearDown();
        Start({});
        if (before == QLatin1String("Modify")) View().GetDocument().SetModifiedFlag();
        if (*before && before != QLatin1String("Modify")) Run(before);
        if (before == QLatin1String("Close")) Run("New");
        m_prompts.QueueChoice({true, Sample("traverse.plt"), 1});
        Run("Open");
        ASSERT_EQ(m_app->Documents().size(), replaced ? 1u : 2u) << before;
        EXPECT_TRUE(Frame().MdiArea()->activeSubWindow()->isMaximized()) << before;
        m_prompts.QueueCancel();
        Run("Open");
        EXPECT_EQ(m_prompts.m_lastInitialPath, QFileInfo(Sample("traverse.plt")).absolutePath());
    }
}

// After each switch of the menu bar: no two menus and no two items of a menu share an Alt
// letter, a screen reader finds every item by its caption, and an item with a key shows it.
TEST_F(AppTest, MenusHaveUniqueMnemonicsAndListEveryItemToScreenReaders) {
    QAccessible::setActive(true);
    Start({});
    Command("Open").showStatusText(&Frame());  // the prompt pane reads what it shows
    EXPECT_EQ(Frame().statusBar()->accessibleName(), "Open an existing document");
    const auto letter = [](const QString& caption) {  // none for "&1 plan.plt"
        const QChar c = caption.section('&', 1).append(' ').at(0).toUpper();
        return c.isLetter() ? c : QChar();
    };
    for (const char* step : {"", "Close", "New", "Close", "New"}) {
        if (*step) Run(step);
        QString bar;
        for (QAction* top : Frame().menuBar()->actions()) {
            EXPECT_FALSE(bar.contains(letter(top->text()))) << top->text().toStdString();
            bar += letter(top->text());
            QString letters;
            QAccessibleInterface* list = QAccessible::queryAccessibleInterface(top->menu());
            ASSERT_EQ(list->childCount(), top->menu()->actions().size()) << step;
            for (int i = 0; i < list->childCount(); ++i) {
                const QAction* item = top->menu()->actions()[i];
                const QString text = item->isSeparator() ? QString() : item->text();
                ASSERT_TRUE(list->child(i)->isValid()) << step << ' ' << text.toStdString();
                EXPECT_EQ(list->child(i)->text(QAccessible::Name), QString(text).remove('&'));
                const QString key = item->shortcut().toString(QKeySequence::NativeText);
                if (!key.isEmpty()) {
                    EXPECT_TRUE(text.endsWith('\t' + key)) << key.toStdString();
                }
                EXPECT_FALSE(!letter(text).isNull() && letters.contains(letter(text)))
                    << text.toStdString();
                letters += letter(text);
            }
        }
    }
}

TEST_F(AppTest, ClosingAModifiedDocumentAsks) {
    Start({Sample("traverse.plt")});
    OpenDrawing& document = View().GetDocument();
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
    EXPECT_EQ(app.Settings().m_cfgFilePath, "/tmp/last.cfg");  // read when the frame is made
    app.Settings().m_cfgFilePath = "/tmp/chosen.cfg";
    app.Documents()[0]->SetModifiedFlag();
    prompts.QueueAnswer(Prompts::Answer::Cancel);
    EXPECT_FALSE(app.MainFrame()->close());  // cancelled: the program stays
    EXPECT_EQ(prompts.m_cfgFileWhenAsked, "/tmp/chosen.cfg");
    EXPECT_EQ(prompts.m_shown, QStringList{"ask: Save changes to Korvane1?"});

    app.Settings().m_cfgFilePath.clear();  // written also when empty
    prompts.QueueAnswer(Prompts::Answer::No);
    EXPECT_TRUE(app.MainFrame()->close());
    EXPECT_EQ(QSettings(kOrganisation, kApplication).value("CfgFile").toString(), "");
}

TEST_F(AppTest, AChangedFileIsOfferedForReloading) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.plt");
    ASSERT_TRUE(QFile::copy(Sample("traverse.plt"), path));
    Start({path});
    OpenDrawing& document = View().GetDocument();
    const std::string bytes = PlotBytes().Pinit().Couleur(3).Ligne(4, 2, 2).Ligne(8, 6, 2).str();
    QFile::remove(path);
    WriteFile(dir, "plan.plt", bytes);
    m_prompts.QueueAnswer(Prompts::Answer::Yes);
    document.OnFileChanged();
    Settle();
    EXPECT_EQ(m_prompts.m_shown, QStringList{"ask: plan.plt has changed on disk.\nReload it?"});
    EXPECT_EQ(document.Doc().Primitives().size(), 4u);
    // The view measured the new drawing and fitted itself to it: 8 x 6 inches.
    EXPECT_EQ(View().State().Home().right, 8.0f * 300);
    EXPECT_EQ(View().View().GetDrawnCount(), 4);
}

// Past the file-size limit a save fails like on a full disk; the program and the file stay.
TEST_F(AppTest, ASaveOverTheFileSizeLimitFailsLikeAFullDisk) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.plt");
    ASSERT_TRUE(QFile::copy(Sample("traverse.plt"), path));
    Start({path});
    rlimit old{}, limit{};
    getrlimit(RLIMIT_FSIZE, &old);
    limit = {static_cast<rlim_t>(QFileInfo(path).size() / 2), old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_FALSE(View().GetDocument().Save());
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(m_prompts.m_shown, QStringList{"warning: Disk full while accessing " + path + "."});
    EXPECT_EQ(QFileInfo(path).size(), QFileInfo(Sample("traverse.plt")).size());
}

// A FIFO named at start, chosen, or found by a reload is refused unread (a fault hangs the test).
TEST_F(AppTest, AFifoIsRefusedUnreadWhereverItComesFrom) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.plt"), plan = dir.filePath("plan.plt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::copy(Sample("traverse.plt"), plan));
    Start({fifo, plan});
    m_prompts.QueueChoice({true, fifo, 1});
    Run("Open");
    m_prompts.QueueChoice({true, fifo, 1});
    Run("Insert");
    ASSERT_TRUE(QFile::remove(plan) && QFile::rename(fifo, plan));
    m_prompts.QueueAnswer(Prompts::Answer::Yes);
    View().GetDocument().OnFileChanged();
    const QString refused = "warning: " + fifo + " is not a regular file.";
    EXPECT_EQ(m_prompts.m_shown, QStringList({refused, "choose: Open", refused, "choose: Open File",
                                              refused, m_prompts.m_shown.value(5),
                                              "warning: " + plan + " is not a regular file."}));
}

// A file recreated on disk stays watched, and Save asks before writing over it, No by default.
TEST_F(AppTest, AFileChangedOnDiskIsWatchedAndNotOverwrittenUnasked) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.plt");
    ASSERT_TRUE(QFile::copy(Sample("traverse.plt"), path));
    Start({path});
    const auto asked = [&](int times) {
        return QTest::qWaitFor([&] { return m_prompts.m_shown.size() == times; }, 5000);
    };
    ASSERT_TRUE(QFile::remove(path));
    QCoreApplication::processEvents();
    WriteFile(dir, "plan.plt", PlotBytes().Pinit().Ligne(4, 2, 2).str());
    EXPECT_TRUE(asked(1));
    WriteFile(dir, "plan.plt", PlotBytes().Pinit().str());
    EXPECT_TRUE(asked(2));
    EXPECT_EQ(m_prompts.m_shown.value(1), "ask: plan.plt has changed on disk.\nReload it?");
    EXPECT_FALSE(View().GetDocument().Save());
    EXPECT_EQ(m_prompts.m_shown.value(2),
              "ask: plan.plt has changed on disk since it was opened or last saved. Overwrite it?");
    EXPECT_EQ(m_prompts.m_lastDefault, Prompts::Answer::No);
    EXPECT_EQ(QFileInfo(path).size(), 6);
    m_prompts.QueueAnswer(Prompts::Answer::Yes);
    EXPECT_TRUE(View().GetDocument().Save() && View().GetDocument().Save());  // asked once
    EXPECT_EQ(m_prompts.m_shown.size(), 4);
}
