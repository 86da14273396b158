#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QScrollBar>

#include "dialogs/DialogTestKit.h"
#include "fontdlg/CFasterFontDlg.h"
#include "fontdlg/CFontPreviewCombo.h"
#include "fontdlg/FontList.h"

TEST(FontList, PrefixSearchPrefersTheExactNameAndFallsBackToTheFirst) {
    const QStringList faces =
        SortedFaces({"Serif", "DejaVu Sans Mono", "dejavu sans", "Arial", "Velvet"});
    EXPECT_EQ(faces, QStringList({"Arial", "dejavu sans", "DejaVu Sans Mono", "Serif", "Velvet"}));
    struct Case {
        const char* face;
        int index;
    } cases[] = {{"DejaVu Sans", 1}, {"DEJAVU SANS M", 2}, {"ser", 3}, {"Velmaro", 0}, {"", 0},
                 {"Velvet Extra", 0}};
    for (const Case& c : cases) EXPECT_EQ(FindFacePrefix(faces, c.face), c.index) << c.face;
    EXPECT_EQ(FindFacePrefix({}, "Arial"), -1);
}

// A face no longer installed shows the first item, the stroke font; OK keeps the view's face.
TEST(FontDlg, ListsTheStrokeFontFirstAndOkWithoutAChangeKeepsTheFace) {
    CFasterFontDlg dlg(QStringLiteral("No Such Face"), 2);
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Font and Line");
    auto* fonts = Named<QComboBox>(dlg, "Font");
    ASSERT_NE(fonts, nullptr);
    ASSERT_GT(fonts->count(), 1);
    EXPECT_EQ(fonts->currentIndex(), 0);
    EXPECT_EQ(fonts->itemText(0), "Velmaro");
    EXPECT_EQ(fonts->itemText(1), SortedFaces(QFontDatabase::families()).first());
    Click(dlg, "OK");
    EXPECT_EQ(dlg.FaceName(), "No Such Face");
    EXPECT_EQ(dlg.LineWidth(), 2);
}

TEST(FontDlg, LineWidthShowsAsItsItemAndTypedTextThatNamesNoneKeepsIt) {
    struct Case {
        int width;
        const char* shown;
        const char* typed;  // nullptr: pick "5" from the list
        int after;
    } cases[] = {{2, "3", nullptr, 4}, {2, "3", "7", 2}, {0, "1", "", 0}, {1, "2", "4", 3}};
    for (const Case& c : cases) {
        CFasterFontDlg dlg(QStringLiteral("DejaVu Sans"), c.width);
        dlg.show();
        auto* widths = Named<QComboBox>(dlg, "Line width");
        ASSERT_NE(widths, nullptr);
        EXPECT_EQ(widths->lineEdit()->accessibleName(), "Line width");
        EXPECT_EQ(widths->currentText(), c.shown);
        if (c.typed) {
            widths->lineEdit()->selectAll();
            QTest::keyClick(widths->lineEdit(), Qt::Key_Backspace);
            QTest::keyClicks(widths->lineEdit(), c.typed);
        } else {
            widths->setCurrentIndex(widths->findText("5"));
        }
        Click(dlg, "OK");
        EXPECT_EQ(dlg.LineWidth(), c.after) << c.width << ' ' << (c.typed ? c.typed : "5");
        EXPECT_EQ(dlg.FaceName(), "DejaVu Sans");
    }
}

TEST(FontDlg, CancelKeepsTheViewsSettings) {
    CFasterFontDlg dlg(QStringLiteral("DejaVu Serif"), 3);
    dlg.show();
    Named<QComboBox>(dlg, "Font")->setCurrentIndex(0);
    Named<QComboBox>(dlg, "Line width")->setCurrentIndex(0);
    Click(dlg, "Cancel");
    EXPECT_EQ(dlg.FaceName(), "DejaVu Serif");
    EXPECT_EQ(dlg.LineWidth(), 3);
}

TEST(FontPreviewCombo, ItemsAre24PixelsAndTheDroppedListFitsNameAndSample) {
    CFontPreviewCombo combo;
    combo.SetFontHeight(20, true);
    combo.show();
    ASSERT_GT(combo.count(), 0);
    const QModelIndex first = combo.model()->index(0, 0);
    EXPECT_EQ(combo.view()->sizeHintForIndex(first).height(), 24);
    EXPECT_GT(combo.SampleWidth(), 0);
    EXPECT_EQ(combo.itemText(0), "Velmaro");  // the stroke font, without a device font
    EXPECT_FALSE(combo.itemData(0, CFontPreviewCombo::kScalableRole).toBool());
    for (int i = 1; i < combo.count(); ++i) {
        const QString face = combo.itemText(i);
        ASSERT_NE(combo.PreviewFont(face), nullptr);
        EXPECT_EQ(combo.PreviewFont(face)->pixelSize(), 20);
        EXPECT_LE(combo.fontMetrics().horizontalAdvance(face), combo.NameWidth());
    }
    combo.showPopup();
    EXPECT_GE(combo.view()->width(),
              PreviewMetrics::DropDownWidth(combo.view()->verticalScrollBar()->sizeHint().width(),
                                            combo.NameWidth(), combo.SampleWidth()));
    combo.hidePopup();
}
