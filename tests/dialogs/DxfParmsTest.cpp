#include <gtest/gtest.h>

#include <QComboBox>
#include <QRadioButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "app/ScriptedPrompts.h"
#include "app/dialogs/CDxfParms.h"
#include "dialogs/CommaLocale.h"
#include "dialogs/DialogTestKit.h"
#include "dxf/DxfConfig.h"
#include "support/DxfSettingsSample.h"

namespace {
const char* const kRows[3] = {"Lower-Left Corner", "Lower-Right Corner", "Upper-Right Corner"};
const char* const kColumns[5] = {"X paper Coord", "Y paper Coord", "Easting", "Northing",
                                 "Elevation"};

QString Corner(int column, int row) {
    return QString::fromLatin1(kColumns[column]) + ' ' + kRows[row];
}

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
}  // namespace

// Any units or conversion index but 0 shows as the export reads it, and OK writes 1.
TEST(DxfParms, EveryFieldHasItsName) {
    ScriptedPrompts prompts;
    CDxfParms dlg(prompts);
    dlg.m_parameters = SampleSettings();
    dlg.m_parameters.unitsIndex = 5;
    dlg.m_parameters.conversionIndex = -3;
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Save As DXF format");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Layer Name 3")->text(), "Layer_22");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Layer Color 8")->text(), "256");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Easting Lower-Right Corner")->text(), "500001.125");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Y paper Coord Upper-Right Corner")->text(), "22.25");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Original scale")->text(), "2500");
    EXPECT_EQ(Named<QComboBox>(dlg, "Original coordinates")->currentText(), "Imperial");
    EXPECT_TRUE(Named<QRadioButton>(dlg, "Scaled")->isChecked());
    for (const char* button : {"OK", "Cancel", "Load...", "Save..."}) {
        EXPECT_NE(Named<QAbstractButton>(dlg, button), nullptr) << button;
    }
    EXPECT_EQ(dlg.findChildren<QLineEdit*>().size(), 8 + 8 + 15 + 1);
    // The fields fit a 1024 x 700 screen.
    EXPECT_LE(dlg.findChild<QScrollArea*>()->widget()->sizeHint().width(), 1000);
    EXPECT_LE(dlg.findChild<QScrollArea*>()->widget()->sizeHint().height(), 640);
    Click(dlg, "OK");
    EXPECT_EQ(dlg.m_parameters.unitsIndex + dlg.m_parameters.conversionIndex, 2);
}

TEST(DxfParms, SaveAndLoadRoundTripAllFields) {
    QTemporaryDir dir;
    const QString path = dir.filePath("site.cfg");
    const DxfSettings wanted = SampleSettings();

    // Type every field into a dialog that starts from the defaults, then save.
    ScriptedPrompts savePrompts;
    CDxfParms saver(savePrompts);
    saver.m_cfgPath = "/earlier/tilted.cfg";
    saver.show();
    for (int i = 0; i < 8; ++i) {
        const QString pen = QString::number(i + 1);
        Type(Named<QLineEdit>(saver, "Layer Name " + pen),
             QString::fromStdString(wanted.layerName[i]));
        Type(Named<QLineEdit>(saver, "Layer Color " + pen), QString::number(wanted.layerColor[i]));
    }
    for (int k = 0; k < 3; ++k) {
        const double values[5] = {wanted.paperX[k], wanted.paperY[k], wanted.easting[k],
                                  wanted.northing[k], wanted.elevation[k]};
        for (int c = 0; c < 5; ++c) {
            Type(Named<QLineEdit>(saver, Corner(c, k)), QString::number(values[c], 'g', 15));
        }
    }
    Type(Named<QLineEdit>(saver, "Original scale"), "2500");
    Named<QComboBox>(saver, "Original coordinates")->setCurrentIndex(1);
    Click(saver, "Scaled");
    savePrompts.QueueChoice({true, path, 1});
    Click(saver, "Save...");

    EXPECT_EQ(savePrompts.m_shown, QStringList{"choose: Export Configuration file..."});
    EXPECT_TRUE(savePrompts.m_lastSave);
    EXPECT_EQ(savePrompts.m_lastFilters, QStringList{"Korvane Configuration (*.cfg)"});
    EXPECT_EQ(savePrompts.m_lastDefaultExtension, "cfg");
    EXPECT_EQ(savePrompts.m_lastInitialPath, "/earlier/tilted.cfg");
    EXPECT_EQ(saver.m_cfgPath, path.toStdString());
    EXPECT_EQ(Slurp(path), DxfConfigText(wanted));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{"site.cfg"});  // no temporary left

    // Load it into a dialog showing other values, and confirm.
    ScriptedPrompts loadPrompts;
    CDxfParms loader(loadPrompts);
    loader.m_cfgPath = saver.m_cfgPath;
    loader.show();
    Type(Named<QLineEdit>(loader, "Layer Name 1"), "edited");
    loadPrompts.QueueChoice({true, path, 1});
    Click(loader, "Load...");
    EXPECT_EQ(loadPrompts.m_shown, QStringList{"choose: Import from Configuration file..."});
    EXPECT_FALSE(loadPrompts.m_lastSave);
    EXPECT_EQ(loadPrompts.m_lastInitialPath, path);
    EXPECT_EQ(Named<QLineEdit>(loader, "Layer Name 1")->text(), "Layer_0");
    Click(loader, "OK");
    EXPECT_EQ(loader.result(), QDialog::Accepted);
    ExpectSameSettings(loader.m_parameters, wanted);
}

TEST(DxfParms, TheFileKeepsItsDecimalPointInAGermanSession) {
    CommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma";
    QTemporaryDir dir;
    const QString path = dir.filePath("de.cfg");
    ScriptedPrompts prompts;
    CDxfParms saver(prompts);
    saver.m_parameters = SampleSettings();
    saver.show();
    prompts.QueueChoice({true, path, 1});
    Click(saver, "Save...");
    const std::string text = Slurp(path);
    EXPECT_NE(text.find("500000.125000,5000000.500000,98.500000,1.750000,2.250000\n"),
              std::string::npos)
        << text;

    CDxfParms loader(prompts);
    loader.m_cfgPath = saver.m_cfgPath;
    loader.show();
    prompts.QueueChoice({true, path, 1});
    Click(loader, "Load...");
    Click(loader, "OK");
    ExpectSameSettings(loader.m_parameters, SampleSettings());
}

TEST(DxfParms, CancelledChoosersChangeNothing) {
    ScriptedPrompts prompts;
    CDxfParms dlg(prompts);
    dlg.m_cfgPath = "/earlier/tilted.cfg";
    dlg.m_parameters = SampleSettings();
    dlg.show();
    prompts.QueueCancel();
    Click(dlg, "Load...");
    prompts.QueueCancel();
    Click(dlg, "Save...");
    EXPECT_EQ(dlg.m_cfgPath, "/earlier/tilted.cfg");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Layer Name 2")->text(), "Layer_11");
}

TEST(DxfParms, ABadFieldKeepsTheDialogOpenWithItsMessageAndFocus) {
    struct Case {
        QString field;
        const char* typed;
        const char* message;
    } cases[] = {
        {"Layer Color 4", "red", "Please enter an integer."},
        {"Layer Color 1", "1.5", "Please enter an integer."},
        {"Original scale", "", "Please enter a number."},
        {Corner(3, 2), "1.2.3", "Please enter a number."},
        {Corner(0, 0), "1,5", "Please enter a number."},
        // a configuration file would skip an empty name and split a two-word one
        {"Layer Name 2", "", "Layer Name 2 is empty: every pen needs a layer name."},
        {"Layer Name 8", "two words", "Layer Name 8 holds white space: a layer name is one word."}};
    for (const Case& c : cases) {
        for (const char* button : {"OK", "Save..."}) {
            QTemporaryDir dir;
            ScriptedPrompts prompts;
            CDxfParms dlg(prompts);
            dlg.m_parameters = SampleSettings();
            dlg.show();
            QLineEdit* edit = Named<QLineEdit>(dlg, c.field);
            Type(edit, c.typed);
            // A Save with a bad field asks for no file and writes nothing.
            prompts.QueueChoice({true, dir.filePath("x.cfg"), 1});
            Click(dlg, button);
            EXPECT_EQ(prompts.m_shown, QStringList{QStringLiteral("warning: ") + c.message})
                << c.field.toStdString() << ' ' << button;
            EXPECT_TRUE(dlg.isVisible());
            EXPECT_NE(dlg.result(), QDialog::Accepted);
            EXPECT_EQ(dlg.focusWidget(), edit) << c.field.toStdString();
            ExpectSameSettings(dlg.m_parameters, SampleSettings());
            EXPECT_TRUE(QDir(dir.path()).isEmpty());
            EXPECT_TRUE(dlg.m_cfgPath.empty());
        }
    }
}

TEST(DxfParms, ALayerNameTheExportRefusesKeepsTheDialogOpen) {
    ScriptedPrompts prompts;
    CDxfParms dlg(prompts);
    dlg.m_parameters = SampleSettings();
    dlg.show();
    QLineEdit* sixth = Named<QLineEdit>(dlg, "Layer Name 6");
    Type(Named<QLineEdit>(dlg, "Layer Name 7"), "x|y");
    Type(sixth, "a:b");
    Click(dlg, "OK");
    ASSERT_EQ(prompts.m_shown.size(), 1);
    EXPECT_TRUE(prompts.m_shown[0].startsWith("warning: "));
    EXPECT_TRUE(prompts.m_shown[0].contains("pen 6")) << prompts.m_shown[0].toStdString();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), sixth);
    Type(sixth, "ab");
    Type(Named<QLineEdit>(dlg, "Layer Name 7"), "xy");
    Click(dlg, "OK");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_parameters.layerName[5], "ab");
}
