#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "AppFixture.h"
#include "app/dialogs/CDxfParms.h"
#include "dxf/DxfConfig.h"
#include "dxf/DxfExport.h"
#include "plot/KorvaneDoc.h"
#include "plot/UserFeedback.h"
#include "world/WorldPosition.h"

namespace {
QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Once the export parameters dialog is up, does what the user does in it.
void AnswerDxfDialog(std::function<void(CDxfParms&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = dynamic_cast<CDxfParms*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

void Click(QWidget& dialog, const char* caption) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        if (b->accessibleName() == QLatin1String(caption)) return b->click();
    }
    ADD_FAILURE() << "no button " << caption;
}

void SetField(QWidget& dialog, const char* name, const QString& text) {
    for (QLineEdit* e : dialog.findChildren<QLineEdit*>()) {
        if (e->accessibleName() == QLatin1String(name)) return e->setText(text);
    }
    ADD_FAILURE() << "no field " << name;
}

const QByteArray kDxfStart = "  0\r\nSECTION";

// A drawing turned 30 degrees on the ground.
DxfSettings Tilted() {
    DxfSettings s;
    s.paperX[0] = 1, s.paperY[0] = 1, s.paperX[1] = 11, s.paperY[1] = 1, s.paperX[2] = 1,
    s.paperY[2] = 8;
    s.easting[0] = 100, s.northing[0] = 200;
    s.easting[1] = 100 + 10 * 0.8660254, s.northing[1] = 205;
    s.easting[2] = 96.5, s.northing[2] = 200 + 7 * 0.8660254;
    s.unitsIndex = 1;
    s.conversionIndex = 1;
    for (int pen = 0; pen < 8; ++pen) s.layerName[pen] = "TILTED" + std::to_string(pen + 1);
    return s;
}
}  // namespace

class ExportTest : public AppTest {
  protected:
    void SetUp() override {
        m_plot = m_dir.filePath(QStringLiteral("traverse.plt"));
        ASSERT_TRUE(QFile::copy(Sample("traverse.plt"), m_plot));
        Start({m_plot});
    }
    // File > Save As to path with the given filter; a DXF export accepts the dialog as it is.
    void SaveAs(const QString& path, int filter, bool dxf = false) {
        m_prompts.QueueChoice({true, path, filter});
        if (dxf) AnswerDxfDialog([](CDxfParms& d) { Click(d, "OK"); });
        Run("Save As");
    }
    QTemporaryDir m_dir;
    QString m_plot;
};

TEST_F(ExportTest, TheTypedExtensionOrElseTheFilterDecidesTheTypeAndTheDocumentKeepsItsFile) {
    struct Case {
        const char* name;
        int filter;
        bool dxf;
    } cases[] = {{"a.dxf", 2, true},  {"b.plt", 2, false}, {"c.DXF", 1, true},
                 {"d.plt", 1, false}, {"e", 2, true},      {"f.Plt", 2, false}};
    const QByteArray original = ReadAll(m_plot);
    const QStringList recent = m_app->Settings().RecentFiles();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        View().GetDocument().SetModifiedFlag(true);
        const QString out = m_dir.filePath(QLatin1String(c.name));
        SaveAs(out, c.filter, c.dxf);
        EXPECT_EQ(m_prompts.m_lastInitialPath, QDir(m_dir.path()).filePath("traverse.plt"));
        EXPECT_EQ(m_prompts.m_lastFilters.value(1), QStringLiteral("AutoCAD DXF Files (*.dxf)"));
        const QByteArray bytes = ReadAll(out);
        EXPECT_EQ(bytes.startsWith(kDxfStart), c.dxf);
        if (!c.dxf) {
            EXPECT_EQ(bytes, original);
        }
        EXPECT_FALSE(View().GetDocument().IsModified());
        EXPECT_EQ(View().GetDocument().PathName(), QFileInfo(m_plot).absoluteFilePath());
        EXPECT_EQ(View().GetDocument().Title(), QStringLiteral("traverse.plt"));
    }
    EXPECT_EQ(m_app->Settings().RecentFiles(), recent);
}

TEST_F(ExportTest, GisSaveAsAsksTheCoordinateSystemAndRemembersIt) {
    struct {
        const char* file;
        const char* typed;  // into "Coordinate system", or null to keep what it shows
        const char* shown;  // what it shows when the dialog opens
        const char* epsg;   // of the file written (GeoJSON is RFC 7946's longitude and latitude)
    } cases[] = {{"a.gpkg", "EPSG:32633", "", "32633"},
                 {"b.geojson", nullptr, "EPSG:32633", "4326"}};
    GDALAllRegister();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString out = m_dir.filePath(QString::fromLatin1(c.file));
        m_prompts.QueueChoice({true, out, 1});
        QString title, shown;
        AnswerDxfDialog([&](CDxfParms& d) {
            title = d.windowTitle();
            for (QLineEdit* e : d.findChildren<QLineEdit*>()) {
                if (e->accessibleName() == QLatin1String("Coordinate system")) shown = e->text();
            }
            if (c.typed) SetField(d, "Coordinate system", QString::fromLatin1(c.typed));
            Click(d, "OK");
        });
        Run("Save As");
        EXPECT_EQ(title, QStringLiteral("Save As GIS format"));
        EXPECT_EQ(shown, QString::fromLatin1(c.shown));
        GDALDatasetUniquePtr ds(GDALDataset::Open(out.toUtf8().constData(), GDAL_OF_VECTOR));
        ASSERT_TRUE(ds);
        OGRLayer* lines = ds->GetLayer(0);
        ASSERT_TRUE(lines && lines->GetSpatialRef());
        EXPECT_STREQ(lines->GetSpatialRef()->GetAuthorityCode(nullptr), c.epsg);
        EXPECT_GT(lines->GetFeatureCount(), 0);
    }
}

TEST_F(ExportTest, CancellingTheChooserOrTheDialogWritesNothing) {
    View().GetDocument().SetModifiedFlag(true);
    m_prompts.QueueCancel();
    Run("Save As");
    const QString out = m_dir.filePath(QStringLiteral("never.dxf"));
    m_prompts.QueueChoice({true, out, 2});
    AnswerDxfDialog([](CDxfParms& d) { Click(d, "Cancel"); });
    Run("Save As");
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_TRUE(View().GetDocument().IsModified());
}

TEST_F(ExportTest, TwoExportsInARowUseTheSecondDialogsSettings) {
    const QString first = m_dir.filePath(QStringLiteral("1.dxf"));
    const QString second = m_dir.filePath(QStringLiteral("2.dxf"));
    SaveAs(first, 2, true);
    m_prompts.QueueChoice({true, second, 2});
    AnswerDxfDialog([](CDxfParms& d) {
        SetField(d, "Layer Name 1", QStringLiteral("SECONDPEN"));
        Click(d, "OK");
    });
    Run("Save As");
    const QByteArray a = ReadAll(first), b = ReadAll(second);
    EXPECT_TRUE(a.startsWith(kDxfStart));
    EXPECT_TRUE(b.startsWith(kDxfStart));
    EXPECT_FALSE(a.contains("SECONDPEN"));
    EXPECT_TRUE(b.contains("SECONDPEN"));
}

// The GUI's export and korvane-cli convert are one implementation: the same bytes, with the
// defaults and with a configuration file loaded in the dialog.
TEST_F(ExportTest, ExportIsByteIdenticalToTheCommandLine) {
    const QString cfg = m_dir.filePath(QStringLiteral("tilted.cfg"));
    ASSERT_TRUE(WriteDxfConfig(QFile::encodeName(cfg).toStdString(), Tilted()));
    for (bool loaded : {false, true}) {
        SCOPED_TRACE(loaded);
        const QString gui = m_dir.filePath(loaded ? "gui-tilted.dxf" : "gui.dxf");
        const QString cli = m_dir.filePath(loaded ? "cli-tilted.dxf" : "cli.dxf");
        m_prompts.QueueChoice({true, gui, 2});
        if (loaded) m_prompts.QueueChoice({true, cfg, 1});
        AnswerDxfDialog([loaded](CDxfParms& d) {
            if (loaded) Click(d, "Load...");
            Click(d, "OK");
        });
        Run("Save As");
        QStringList args = {QStringLiteral("convert"), m_plot, cli};
        if (loaded) args << QStringLiteral("--config") << cfg;
        QProcess process;
        process.start(QStringLiteral(KORVANE_BINARY_DIR "/korvane-cli"), args);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        const QByteArray bytes = ReadAll(gui);
        EXPECT_TRUE(bytes.startsWith(kDxfStart));
        EXPECT_EQ(bytes, ReadAll(cli));
        if (loaded) {
            EXPECT_TRUE(bytes.contains("TILTED1"));
        }
    }
}

TEST_F(ExportTest, InsertMergesAndRefitsTheIssuingView) {
    OpenDrawing& doc = View().GetDocument();
    const std::size_t before = doc.Doc().Primitives().size();
    m_prompts.QueueChoice({true, m_dir.filePath(QStringLiteral("missing.plt")), 1});
    Run("Insert");
    EXPECT_EQ(doc.Doc().Primitives().size(), before);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(m_prompts.m_shown.filter(QStringLiteral("warning:")),
              QStringList("warning: " + m_dir.filePath("missing.plt") + " was not found."));

    View().OnZoomedView();  // stays through the fit
    m_prompts.QueueChoice({true, m_plot, 1});
    Run("Insert");
    EXPECT_EQ(doc.Doc().Primitives().size(), 2 * before);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(View().State().GetZoomMode(), ZOOM_INCREMENTAL);
    Run("Save");
    EXPECT_EQ(ReadAll(m_plot).size(), 2 * QFileInfo(Sample("traverse.plt")).size());

    // A damaged file shows the reader's message and keeps what was read.
    const QString damaged = m_dir.filePath(QStringLiteral("damaged.plt"));
    ASSERT_TRUE(WriteAll(damaged, ReadAll(Sample("traverse.plt")) + QByteArray("\x07\x00", 2)));
    m_prompts.m_shown.clear();
    m_prompts.QueueChoice({true, damaged, 1});
    Run("Insert");
    EXPECT_EQ(doc.Doc().Primitives().size(), 3 * before);
    EXPECT_EQ(m_prompts.m_shown.filter(QStringLiteral("warning:")).size(), 1);
}

// File > New, then Insert: the drawing is measured, fitted and shown at once, the next Insert
// likewise with both files; Save As offers the new drawing's name with the plot extension.
TEST_F(AppTest, InsertIntoANewDrawingFitsIt) {
    Start({});
    m_prompts.QueueCancel();
    Run("Save As");
    EXPECT_EQ(m_prompts.m_lastInitialPath, "Korvane1.plt");
    View().OnZoomedView();
    for (const char* sample : {"traverse.plt", "site-plan.plt"}) {
        m_prompts.QueueChoice({true, Sample(sample), 1});
        Run("Insert");
        const CPlotContext& context = View().View().Context();
        ViewState fitted;
        fitted.FitToDrawing(context.GetMaxX(), context.GetMaxY(), View().ClientWidth(),
                            View().ClientHeight());
        EXPECT_EQ(View().State().Geometry().right, fitted.Geometry().right) << sample;
        EXPECT_EQ(View().State().Geometry().divisor, fitted.Geometry().divisor) << sample;
        EXPECT_EQ(View().State().GetZoomMode(), ZOOM_INCREMENTAL);
        EXPECT_EQ(View().View().GetDrawnCount(),
                  int(View().GetDocument().Doc().Primitives().size()));
    }
}

TEST_F(ExportTest, DrawingStatusShowsTheViewsExtentsInInches) {
    const CPlotContext& context = View().View().Context();
    ASSERT_GT(context.GetMaxX(), context.GetMaxY());  // told apart
    const QString width = QString::number(context.GetMaxX() / RESOLUTION, 'f', 2);
    const QString height = QString::number(context.GetMaxY() / RESOLUTION, 'f', 2);
    QStringList texts;
    QTimer::singleShot(0, [&texts] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        for (QLabel* l : dialog->findChildren<QLabel*>()) texts << l->text();
        for (QLineEdit* e : dialog->findChildren<QLineEdit*>()) texts << e->text();
        dialog->close();
    });
    Command("Drawing Status").trigger();
    EXPECT_TRUE(texts.join(QLatin1Char(' ')).contains(width)) << width.toStdString();
    EXPECT_TRUE(texts.join(QLatin1Char(' ')).contains(height)) << height.toStdString();
}

namespace {
struct Silent : UserFeedback {
    void ShowMessage(const std::string&) override {}
};
}  // namespace

// Saves that fail, in a child process: one that runs out of room half-way (a file-size limit)
// and one by a user without write permission (root passes any permission, so the child drops
// it). Each leaves the earlier file as it was and no temporary, tells the cause with the file's
// name, and keeps the drawing modified.
TEST(SaveFailure, AFailedSaveKeepsTheEarlierFile) {
    QTemporaryDir dir;
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const std::string out =
        QFile::encodeName(dir.filePath(QStringLiteral("kept.plt"))).toStdString();
    const struct {
        bool dxf;
        bool locked;
        std::string message;
    } cases[] = {{false, false, "Disk full while accessing " + out + "."},
                 {true, false, "Disk full while accessing " + out + "."},
                 {false, true, "Access to " + out + " was denied."},
                 {true, true, "Access to " + out + " was denied."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message + (c.dxf ? " dxf" : " plt"));
        QFile::remove(QString::fromStdString(out));
        ASSERT_TRUE(WriteAll(QString::fromStdString(out), "earlier"));
        ASSERT_EQ(chmod(out.c_str(), c.locked ? 0444 : 0644), 0);
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        const pid_t child = fork();
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            if (c.locked) {
                if (getuid() == 0 && setuid(65534) != 0) _exit(2);
            } else {
                rlimit limit{4096, 4096};
                setrlimit(RLIMIT_FSIZE, &limit);
            }
            Silent feedback;
            CKorvaneDoc doc(feedback);
            doc.OnOpenDocument(KORVANE_SOURCE_DIR "/samples/contours.plt");
            doc.SetModifiedFlag(true);
            const SaveResult r = c.dxf ? ExportDxf(doc, out) : doc.ExportPlot(out);
            const std::string report =
                SaveErrorText(r).toStdString() + (doc.IsModified() ? "|modified" : "|clean");
            (void)!write(pipeFds[1], report.data(), report.size());
            _exit(r.Ok() ? 1 : 0);
        }
        close(pipeFds[1]);
        char buffer[512] = {};
        const ssize_t n = read(pipeFds[0], buffer, sizeof buffer - 1);
        close(pipeFds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_GT(n, 0);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "the save reported success";
        EXPECT_EQ(std::string(buffer), c.message + "|modified");
        EXPECT_EQ(ReadAll(QString::fromStdString(out)), QByteArray("earlier"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kept.plt")});
    }
}

// Filters 3 to 5 write the active view's current picture at its size; the drawing itself is
// still unsaved afterwards.
TEST_F(ExportTest, PicturesShowTheViewAsItIs) {
    Run("Zoomed View");
    View().GetDocument().SetModifiedFlag(true);
    const struct {
        const char* name;
        int filter;
        const char* start;
    } cases[] = {{"v.png", 3, "\x89PNG"}, {"v.svg", 4, "<?xml"}, {"v.pdf", 5, "%PDF"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString out = m_dir.filePath(QLatin1String(c.name));
        SaveAs(out, c.filter);
        EXPECT_TRUE(ReadAll(out).startsWith(c.start));
        EXPECT_TRUE(View().GetDocument().IsModified());
    }
    const QImage picture(m_dir.filePath(QStringLiteral("v.png")));
    EXPECT_EQ(picture.size(), QSize(View().ClientWidth(), View().ClientHeight()));
    EXPECT_EQ(picture.convertToFormat(QImage::Format_RGB32),
              View().Image().convertToFormat(QImage::Format_RGB32));
}

// The last configuration is read as a document is first shown; a FIFO there is refused once.
TEST_F(ExportTest, TheLastConfigurationIsReadWhenNeededAndAFifoIsRefusedOnce) {
    const QString cfg = m_dir.filePath("tilted.cfg"), fifo = m_dir.filePath("pipe.cfg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    WriteDxfConfig(QFile::encodeName(cfg).toStdString(), Tilted());
    for (const QString& last : {cfg, fifo, fifo}) {
        m_app->Settings().m_cfgFilePath = QFile::encodeName(last).toStdString();
        Run("New");
        std::string layer;
        m_prompts.QueueChoice({true, m_dir.filePath("out.dxf"), 2});
        AnswerDxfDialog([&layer](CDxfParms& d) {
            layer = d.m_parameters.layerName[0];
            Click(d, "OK");
        });
        Run("Save As");
        EXPECT_EQ(layer, last == cfg ? "TILTED1" : DxfSettings().layerName[0]);
    }
    EXPECT_EQ(m_prompts.m_shown.filter("warning"),
              QStringList("warning: " + fifo +
                          " is not a regular file; the DXF export starts from the default "
                          "settings."));
}

// Format > Georeference loads a configuration in the dialog, modifying nothing; the world pane,
// hidden till then, shows the pointer's world position, also after a zoom without a mouse move.
TEST_F(ExportTest, GeoreferenceShowsTheWorldPosition) {
    auto* world = Frame().findChild<QLabel*>(QStringLiteral("worldPosition"));
    CKorvaneView& view = View();
    const QPoint at(200, 150);
    QTest::mouseMove(view.viewport(), at / 2);
    ASSERT_TRUE(world && world->isHidden());
    const std::string cfg = QFile::encodeName(m_dir.filePath("tilted.cfg")).toStdString();
    ASSERT_TRUE(WriteDxfConfig(cfg, Tilted()));
    m_prompts.QueueChoice({true, QString::fromStdString(cfg), 1});
    AnswerDxfDialog([](CDxfParms& d) { Click(d, "Load..."), Click(d, "OK"); });
    Run("Georeference");
    EXPECT_EQ(m_app->Settings().m_cfgFilePath, cfg);
    EXPECT_FALSE(view.GetDocument().IsModified());
    QString last;
    for (bool zoom : {false, true}) {
        zoom ? Run("Zoom In") : QTest::mouseMove(view.viewport(), at);  // Zoom In: about the centre
        double x, y;
        view.State().ClientToPlot(at.x(), at.y(), view.ClientWidth(), view.ClientHeight(), x, y);
        const std::string text = WorldPositionText(PaperToWorld(Tilted()), x / 300, y / 300);
        EXPECT_EQ(world->accessibleName().toStdString(), "World position: " + text);
        EXPECT_NE(world->text(), std::exchange(last, world->text()));
    }
}
