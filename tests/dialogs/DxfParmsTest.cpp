#include <gtest/gtest.h>

#include <QComboBox>
#include <QRadioButton>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "app/ScriptedPrompts.h"
#include "app/dialogs/CDxfParms.h"
#include "dialogs/CommaLocale.h"
#include "dialogs/DialogTestKit.h"

namespace {
const char* const kRows[3] = {"Lower-Left Corner", "Lower-Right Corner", "Upper-Right Corner"};
const char* const kColumns[5] = {"X paper Coord", "Y paper Coord", "Easting", "Northing",
                                 "Elevation"};

// Every one of the 34 fields different from the defaults and from each other; the numbers
// keep their value through six decimals.
DxfParameters Distinct() {
    DxfParameters p;
    for (int i = 0; i < 8; ++i) {
        p.layerName[i] = "Layer_" + std::to_string(i + 1);
        p.layerColor[i] = 10 * (i + 1) - 3;
    }
    for (int k = 0; k < 3; ++k) {
        p.paperX[k] = 1.25 + k;
        p.paperY[k] = -2.5 - k;
        p.easting[k] = 612345.125 + k;
        p.northing[k] = 5123456.75 + k;
        p.elevation[k] = 98.5 + k;
    }
    p.unitsIndex = 1;
    p.originalScale = 2500;
    p.conversionIndex = 1;
    return p;
}

void ExpectSame(const DxfParameters& a, const DxfParameters& b) {
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(a.layerName[i], b.layerName[i]) << i;
        EXPECT_EQ(a.layerColor[i], b.layerColor[i]) << i;
    }
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(a.paperX[k], b.paperX[k]) << k;
        EXPECT_EQ(a.paperY[k], b.paperY[k]) << k;
        EXPECT_EQ(a.easting[k], b.easting[k]) << k;
        EXPECT_EQ(a.northing[k], b.northing[k]) << k;
        EXPECT_EQ(a.elevation[k], b.elevation[k]) << k;
    }
    EXPECT_EQ(a.unitsIndex, b.unitsIndex);
    EXPECT_EQ(a.originalScale, b.originalScale);
    EXPECT_EQ(a.conversionIndex, b.conversionIndex);
}

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

TEST(DxfParms, EveryFieldHasItsName) {
    ScriptedPrompts prompts;
    CDxfParms dlg(prompts);
    dlg.m_parameters = Distinct();
    dlg.show();
    EXPECT_EQ(dlg.windowTitle(), "Save As DXF format");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Layer Name 3")->text(), "Layer_3");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Layer Color 8")->text(), "77");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Easting Lower-Right Corner")->text(), "612346.125");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Y paper Coord Upper-Right Corner")->text(), "-4.5");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Original scale")->text(), "2500");
    EXPECT_EQ(Named<QComboBox>(dlg, "Original coordinates")->currentText(), "Imperial");
    EXPECT_TRUE(Named<QRadioButton>(dlg, "Scaled")->isChecked());
    for (const char* button : {"OK", "Cancel", "Load...", "Save..."}) {
        EXPECT_NE(Named<QAbstractButton>(dlg, button), nullptr) << button;
    }
    EXPECT_EQ(dlg.findChildren<QLineEdit*>().size(), 8 + 8 + 15 + 1);
}

TEST(DxfParms, SaveAndLoadRoundTripAllFields) {
    QTemporaryDir dir;
    const QString path = dir.filePath("site.cfg");
    std::string cfgPath = "/earlier/tilted.cfg";
    const DxfParameters wanted = Distinct();

    // Type every field into a dialog that starts from the defaults, then save.
    ScriptedPrompts savePrompts;
    CDxfParms saver(savePrompts);
    saver.m_cfgPath = &cfgPath;
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
    EXPECT_EQ(cfgPath, path.toStdString());
    EXPECT_EQ(Slurp(path), DxfConfigText(wanted));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{"site.cfg"});  // no temporary left

    // Load it into a dialog showing other values, and confirm.
    ScriptedPrompts loadPrompts;
    CDxfParms loader(loadPrompts);
    loader.m_cfgPath = &cfgPath;
    loader.show();
    Type(Named<QLineEdit>(loader, "Layer Name 1"), "edited");
    loadPrompts.QueueChoice({true, path, 1});
    Click(loader, "Load...");
    EXPECT_EQ(loadPrompts.m_shown, QStringList{"choose: Import from Configuration file..."});
    EXPECT_FALSE(loadPrompts.m_lastSave);
    EXPECT_EQ(loadPrompts.m_lastInitialPath, path);
    EXPECT_EQ(Named<QLineEdit>(loader, "Layer Name 1")->text(), "Layer_1");
    Click(loader, "OK");
    EXPECT_EQ(loader.result(), QDialog::Accepted);
    ExpectSame(loader.m_parameters, wanted);
}

TEST(DxfParms, TheFileKeepsItsDecimalPointInAGermanSession) {
    CommaLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma";
    QTemporaryDir dir;
    const QString path = dir.filePath("de.cfg");
    std::string cfgPath;
    ScriptedPrompts prompts;
    CDxfParms saver(prompts);
    saver.m_cfgPath = &cfgPath;
    saver.m_parameters = Distinct();
    saver.show();
    prompts.QueueChoice({true, path, 1});
    Click(saver, "Save...");
    const std::string text = Slurp(path);
    EXPECT_NE(text.find("612345.125000,5123456.750000,98.500000,1.250000,-2.500000\n"),
              std::string::npos)
        << text;

    CDxfParms loader(prompts);
    loader.m_cfgPath = &cfgPath;
    loader.show();
    prompts.QueueChoice({true, path, 1});
    Click(loader, "Load...");
    Click(loader, "OK");
    ExpectSame(loader.m_parameters, Distinct());
}

TEST(DxfParms, CancelledChoosersChangeNothing) {
    std::string cfgPath = "/earlier/tilted.cfg";
    ScriptedPrompts prompts;
    CDxfParms dlg(prompts);
    dlg.m_cfgPath = &cfgPath;
    dlg.m_parameters = Distinct();
    dlg.show();
    prompts.QueueCancel();
    Click(dlg, "Load...");
    prompts.QueueCancel();
    Click(dlg, "Save...");
    EXPECT_EQ(cfgPath, "/earlier/tilted.cfg");
    EXPECT_EQ(Named<QLineEdit>(dlg, "Layer Name 2")->text(), "Layer_2");
}

TEST(DxfParms, ABadFieldKeepsTheDialogOpenWithItsMessageAndFocus) {
    struct Case {
        QString field;
        const char* typed;
        const char* message;
    } cases[] = {{"Layer Color 4", "red", "Please enter an integer."},
                 {"Layer Color 1", "1.5", "Please enter an integer."},
                 {"Original scale", "", "Please enter a number."},
                 {Corner(3, 2), "1.2.3", "Please enter a number."},
                 {Corner(0, 0), "1,5", "Please enter a number."}};
    for (const Case& c : cases) {
        for (const char* button : {"OK", "Save..."}) {
            QTemporaryDir dir;
            ScriptedPrompts prompts;
            std::string cfgPath;
            CDxfParms dlg(prompts);
            dlg.m_cfgPath = &cfgPath;
            dlg.m_parameters = Distinct();
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
            ExpectSame(dlg.m_parameters, Distinct());
            EXPECT_TRUE(QDir(dir.path()).isEmpty());
            EXPECT_TRUE(cfgPath.empty());
        }
    }
}

TEST(DxfParms, TheLayerNameCheckRefusesWithItsMessage) {
    ScriptedPrompts prompts;
    CDxfParms dlg(prompts);
    dlg.m_parameters = Distinct();
    dlg.m_checkLayerName = [](int pen, const std::string& name) {
        return name.find(':') == std::string::npos
                   ? std::string()
                   : "Pen " + std::to_string(pen) + ": ':' is not allowed in a layer name.";
    };
    dlg.show();
    Type(Named<QLineEdit>(dlg, "Layer Name 6"), "a:b");
    Click(dlg, "OK");
    EXPECT_EQ(prompts.m_shown, QStringList{"warning: Pen 6: ':' is not allowed in a layer name."});
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.focusWidget(), Named<QLineEdit>(dlg, "Layer Name 6"));
    Type(Named<QLineEdit>(dlg, "Layer Name 6"), "ab");
    Click(dlg, "OK");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_parameters.layerName[5], "ab");
}
