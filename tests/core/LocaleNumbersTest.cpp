// Numbers in files ignore the process's locale: the configuration file's reader and writer, the
// DXF export and the trace read and write the same bytes under a comma-decimal locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dxf/DxfConfig.h"
#include "dxf/DxfExport.h"
#include "dxf/ScanNumber.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "plot/NumberText.h"
#include "support/PlotBytes.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"
#include "view/FirstView.h"

namespace {
// Inputs on which strtod and strtol in the "C" locale are the reference.
const char* const kNumberTexts[] = {
    "0",
    "  \t\n\v\f\r-12.5e3x",
    "+7",
    "+-7",
    "-+7",
    "--7",
    "-",
    "+",
    ".",
    "-.5",
    "5.",
    "1e",
    "1e+",
    "1e-2,",
    "1.5E+3",
    "  .e1",
    "0x1.8p3",
    "0X1P-2",
    "-0x.8",
    "0x",
    "0xg",
    "0x.p1",
    "0x-1",
    "0x1p",
    "0xAbCp+1,2",
    "inf",
    "-INF",
    "infinity",
    "+Infinity!",
    "infinit",
    "nan",
    "-nan",
    "NaN(123)",
    "nan(",
    "nan(a b)",
    "1e400",
    "-1e400",
    "1e-400",
    "-1e-400",
    "4e-320",
    "0x1p-1074",
    "0x1p-1080",
    "0x1p1024",
    "0x1.fffffffffffffp1023",
    "123456789012345678901234567890",
    "99999999999999999999",
    "-99999999999999999999",
    "9223372036854775807",
    "9223372036854775808",
    "-9223372036854775808",
    "-9223372036854775809",
    "1,5",
    "1 5",
    "",
    " ",
    "x1",
    "\x80"
    "1",
    "0.000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "00000000000000000000000000000000000000000001e5",
    "1000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000"
    "00000000000000000000000000000000000000000000000000000000000000000000e-2",
};

// Runs body with the process in a comma-decimal locale; false (and a note) when the machine has
// none.
template <class Body>
bool UnderCommaLocale(Body body) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"}) {
        if (!std::setlocale(LC_ALL, name)) continue;
        if (std::strcmp(std::localeconv()->decimal_point, ",") != 0) continue;
        body();
        std::setlocale(LC_ALL, saved.c_str());
        return true;
    }
    std::setlocale(LC_ALL, saved.c_str());
    return false;
}

constexpr const char* kNoLocale =
    "no comma-decimal locale installed (tools/setup.sh generates de_DE.UTF-8)";

// A scaled export onto a tilted plane, with numbers and text, so every number route is used.
std::string ExportSample() {
    RecordingFeedback feedback;
    DxfSettings settings;
    settings.conversionIndex = 1;
    settings.originalScale = 500;
    const double paper[3][2] = {{1.5, 2.5}, {30, 2.5}, {30, 20}};
    const double world[3][3] = {
        {500000.25, 5000000.5, 100}, {500362, 5000000, 100.4}, {500362, 5000222, 111.5}};
    for (int k = 0; k < 3; ++k) {
        settings.paperX[k] = paper[k][0];
        settings.paperY[k] = paper[k][1];
        settings.easting[k] = world[k][0];
        settings.northing[k] = world[k][1];
        settings.elevation[k] = world[k][2];
    }
    CKorvaneDoc doc(feedback, settings);
    const std::string plot = PlotBytes()
                                 .Pinit()
                                 .Ligne(1.25f, 2.5f, 3)
                                 .Ligne(3.75f, 2.5f, 2)
                                 .Symbole(2, 2, 0.125f, 30, "A-1")
                                 .I16(-8)  // Nombre 3.14159 with 3 decimals
                                 .F32(4)
                                 .F32(4)
                                 .F32(0.1f)
                                 .F32(0)
                                 .I16(3)
                                 .F32(3.14159f)
                                 .I16(-12)  // Cercle
                                 .F32(5)
                                 .F32(5)
                                 .F32(0.75f)
                                 .str();
    Archive in = Archive::FromMemory(plot.data(), plot.size());
    doc.Serialize(in);
    Archive out = Archive::ToMemory();
    WriteDxf(doc.Primitives(), doc.GetDxfSettings(), out);
    return out.Memory() + FirstView(doc, 640, 480).Trace();
}

DxfSettings ConfigSample() {
    DxfSettings s;
    s.layerName[2] = "Kanal";
    s.layerColor[5] = -12;
    s.easting[1] = 500362.125;
    s.northing[2] = -5000222.5;
    s.elevation[0] = 1e-7;
    s.paperX[2] = 1e300;
    s.paperY[1] = -0.0;
    s.unitsIndex = 1;
    s.originalScale = 2500.75;
    s.conversionIndex = 1;
    return s;
}
}  // namespace

TEST(LocaleNumbers, ScannerReadsAsTheCLibraryInTheCLocale) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    for (const char* text : kNumberTexts) {
        const char* end = text + std::strlen(text);
        char* stop;
        const double expected = std::strtod(text, &stop);
        double got = 12345;
        const std::size_t used = ScanDouble(text, end, got);
        EXPECT_EQ(used, static_cast<std::size_t>(stop - text)) << "double of '" << text << "'";
        if (used > 0) {
            EXPECT_EQ(std::signbit(got), std::signbit(expected)) << text;
            if (std::isnan(expected)) {
                EXPECT_TRUE(std::isnan(got)) << text;
            } else {
                EXPECT_EQ(got, expected) << text;
            }
        } else {
            EXPECT_EQ(got, 12345) << "a failed scan changed the value: '" << text << "'";
        }

        const long expectedLong = std::strtol(text, &stop, 10);
        long gotLong = 12345;
        const std::size_t usedLong = ScanLong(text, end, gotLong);
        EXPECT_EQ(usedLong, static_cast<std::size_t>(stop - text)) << "long of '" << text << "'";
        if (usedLong > 0) {
            EXPECT_EQ(gotLong, expectedLong) << text;
        }
    }
}

TEST(LocaleNumbers, FilesReadAndWriteTheSameUnderACommaLocale) {
    TempFolder folder;
    const std::string path = folder.Path("settings.cfg");
    const std::string exportInC = ExportSample();
    const std::string configInC = DxfConfigText(ConfigSample());
    ASSERT_NE(configInC.find("2500.750000"), std::string::npos);

    std::string exportThere, configThere;
    DxfSettings back;
    int read = 0;
    const bool ran = UnderCommaLocale([&] {
        exportThere = ExportSample();
        configThere = DxfConfigText(ConfigSample());
        ASSERT_TRUE(WriteDxfConfig(path, ConfigSample()));
        read = ReadDxfConfig(path, back);
    });
    if (!ran) GTEST_SKIP() << kNoLocale;

    EXPECT_EQ(configThere, configInC);
    EXPECT_EQ(read, DxfSettings::kFieldCount);
    EXPECT_EQ(back.easting[1], 500362.125);
    EXPECT_EQ(back.northing[2], -5000222.5);
    EXPECT_EQ(back.originalScale, 2500.75);
    EXPECT_EQ(back.paperX[2], 1e300);
    EXPECT_EQ(back.layerName[2], "Kanal");
    EXPECT_EQ(exportThere, exportInC);
}
