// Printing, the clipboard copy and Font and Line, through the real commands and devices.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>

#include "app/AppFixture.h"
#include "fontdlg/CFasterFontDlg.h"
#include "fontdlg/CFontPreviewCombo.h"
#include "plot/KorvaneDoc.h"
#include "plot/Prim.h"
#include "plot/PrimitiveList.h"
#include "print/PrintPage.h"

namespace {
// The page of pdf rendered at dpi as a grey image, through the same tool a user would view it with.
QImage RenderPdf(const QString& pdf, int dpi) {
    const QString base = pdf + QStringLiteral(".page");
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                       QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, base});
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_Grayscale8);
}

bool Ink(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 160;
}

// The longest horizontal run of ink, in pixels.
int LongestRun(const QImage& image) {
    int best = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = Ink(image, x, y) ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Ink(image, x, y)) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

void WriteA4(const QString& path, PlotView& view, const PrimitiveList& primitives, int fit) {
    QPdfWriter pdf(path);
    pdf.setResolution(1200);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    ASSERT_TRUE(PrintPage(pdf, view, primitives, fit));
}

QString ClipboardSvg() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data ? QString::fromUtf8(data->data(QStringLiteral("image/svg+xml"))) : QString();
}
}  // namespace

TEST(Printing, OneInchOfPlotIsOneInchOnPaper) {
    QTemporaryDir dir;
    PrimitiveList list;
    list.Append<Ligne>(PrimCode::kLigne, 1.0f, 2.0f, 3);
    list.Append<Ligne>(PrimCode::kLigne, 7.0f, 2.0f, 2);  // 6 inches
    PlotView view;
    view.State().SetFitted(true);
    const QString path = dir.filePath(QStringLiteral("line.pdf"));
    WriteA4(path, view, list, 0);
    const QImage page = RenderPdf(path, 254);  // 10 pixels to the millimetre
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(LongestRun(page) / 10.0, 152.4, 0.5);
}

TEST_F(AppTest, FitToPageFillsThePrintableArea) {
    Start({Sample("site-plan.plt")});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fit.pdf"));
    WriteA4(path, View().View(), View().GetDocument().Doc().Primitives(), 1);
    const QImage page = RenderPdf(path, 50);
    const QRect ink = InkBounds(page);
    ASSERT_FALSE(ink.isEmpty());
    // The drawing spans the page's width or its height, less the room the view's fit leaves.
    EXPECT_GT(std::max(ink.width() / double(page.width()), ink.height() / double(page.height())),
              0.95);
    EXPECT_TRUE(page.rect().contains(ink));
}

TEST_F(AppTest, PrintingWithoutAPrinterSaysSo) {
    m_app = std::make_unique<CKorvaneApp>(m_prompts);
    // The test machine has no print service, so the default printer refuses the job.
    EXPECT_FALSE(m_app->PrintFiles({Sample("traverse.plt")}));
    Settle();
    EXPECT_EQ(m_prompts.m_shown, QStringList{"warning: Could not start print job."});
    EXPECT_TRUE(m_app->Documents().empty());
}

TEST_F(AppTest, CopyPutsAnUnclippedThinPictureOnTheClipboard) {
    Start({Sample("site-plan.plt")});
    for (int lineWidth : {0, 3}) {
        View().View().SetLineWidth(lineWidth);
        QGuiApplication::clipboard()->clear();
        Run("Copy");
        const QString svg = ClipboardSvg();
        EXPECT_TRUE(svg.contains(QLatin1String("<polyline"))) << lineWidth;
        EXPECT_FALSE(svg.contains(QLatin1String("clip"))) << lineWidth;
        // Pens of width 0: one device pixel whatever the scale, as SVG writes it.
        const QRegularExpression width(QStringLiteral("stroke-width=\"([^\"]*)\""));
        for (const QRegularExpressionMatch& m : width.globalMatch(svg)) {
            EXPECT_EQ(m.captured(1), "1") << lineWidth;
        }
        EXPECT_EQ(svg.count(QLatin1String("<polyline")),
                  svg.count(QLatin1String(
                      "<polyline fill=\"none\" vector-effect=\"non-scaling-stroke\"")))
            << lineWidth;
        const QImage image =
            qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
        EXPECT_EQ(image.size(), QSize(View().ClientWidth(), View().ClientHeight()));
        EXPECT_FALSE(InkBounds(image).isEmpty());
    }
}

TEST_F(AppTest, AnEmptyDrawingCopiesAnEmptyPicture) {
    Start({});
    Run("Copy");
    const QString svg = ClipboardSvg();
    EXPECT_TRUE(svg.contains(QLatin1String("<svg")));
    EXPECT_FALSE(svg.contains(QLatin1String("<polyline")));
    const QImage image =
        qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData());
    EXPECT_TRUE(InkBounds(image).isEmpty());
}

TEST_F(AppTest, PasteStaysDisabled) {
    Start({Sample("traverse.plt")});
    EXPECT_FALSE(Command("Paste").isEnabled());
    EXPECT_TRUE(Command("Copy").isEnabled());
    const std::size_t before = View().GetDocument().Doc().Primitives().size();
    QTest::keyClick(&View(), Qt::Key_V, Qt::ControlModifier);
    Settle();
    EXPECT_EQ(View().GetDocument().Doc().Primitives().size(), before);
    EXPECT_EQ(m_app->Documents().size(), 1u);
}

// The dialog opens on the view's face and width; OK hands the choice to the view.
TEST_F(AppTest, FontAndLineOpensOnTheViewsChoiceAndSetsIt) {
    Start({Sample("site-plan.plt")});
    View().View().SetLineWidth(2);
    View().Invalidate();
    View().FinishPainting();
    // OK without changes leaves the picture exactly as it was.
    const QImage before = View().Image();
    QTimer::singleShot(0,
                       [] { dynamic_cast<QDialog*>(QApplication::activeModalWidget())->accept(); });
    Run("Font and Line");
    View().FinishPainting();
    EXPECT_EQ(View().View().Context().GetFaceName(), "Velmaro");
    EXPECT_EQ(View().Image(), before);

    QString face, firstFace, width, chosenFace;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<CFasterFontDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        CFontPreviewCombo* faces = nullptr;
        QComboBox* widths = nullptr;
        for (QComboBox* combo : dialog->findChildren<QComboBox*>()) {
            if (auto* preview = dynamic_cast<CFontPreviewCombo*>(combo)) {
                faces = preview;
            } else {
                widths = combo;
            }
        }
        ASSERT_TRUE(faces && widths);
        face = faces->currentText();
        firstFace = faces->itemText(0);
        width = widths->currentText();
        faces->setCurrentIndex(faces->count() - 1);
        chosenFace = faces->currentText();
        widths->setCurrentIndex(4);
        dialog->accept();
    });
    Run("Font and Line");
    ASSERT_FALSE(face.isEmpty());
    EXPECT_EQ(width, "3");
    EXPECT_EQ(View().View().GetLineWidth(), 4);
    EXPECT_EQ(QString::fromStdString(View().View().Context().GetFaceName()), chosenFace);
    EXPECT_EQ(face, firstFace);  // the stroke font, listed first
}

// File > Print paints beside the window: the page is the one the preview's way paints.
TEST_F(AppTest, APagePrintedBesideTheWindowIsThePreviewsPage) {
    Start({Sample("site-plan.plt")});
    QTemporaryDir dir;
    QImage pages[2];
    for (bool background : {false, true}) {
        const QString path =
            dir.filePath(background ? QStringLiteral("worker.pdf") : QStringLiteral("here.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        ASSERT_TRUE(View().PrintOn(printer, background));
        pages[background] = RenderPdf(path, 50);
    }
    ASSERT_FALSE(InkBounds(pages[0]).isEmpty());
    EXPECT_EQ(pages[0], pages[1]);
}
