// The export configuration file: its text, reading it back, and what damaged files give.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "dxf/DxfConfig.h"
#include "plot/KorvaneDoc.h"
#include "support/DxfSettingsSample.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

namespace {
class DxfConfig : public ::testing::Test {
  protected:
    std::string Path(const char* name) const { return m_folder.Path(name); }
    std::string Write(const char* name, const std::string& text) const {
        std::string path = Path(name);
        FILE* f = std::fopen(path.c_str(), "w");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        return path;
    }
    std::string Read(const std::string& path) const {
        std::string text;
        FILE* f = std::fopen(path.c_str(), "r");
        if (!f) return text;
        char buf[512];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        std::fclose(f);
        return text;
    }

    TempFolder m_folder;
    const std::string m_dir = m_folder.Path();
};

const char kDefaults[] =
    "0\n7\n1\n1\n2\n2\n3\n3\n4\n4\n5\n5\n6\n6\n7\n7\n"
    "0.000000,0.000000,0.000000,1.500000,2.500000\n"
    "0.000000,0.000000,0.000000,0.000000,0.000000\n"
    "0.000000,0.000000,0.000000,0.000000,0.000000\n"
    "0,1.000000,0\n";

}  // namespace

TEST_F(DxfConfig, DefaultsWriteTheTwentyLinesAndReadBack) {
    const std::string path = Path("defaults.cfg");
    ASSERT_TRUE(WriteDxfConfig(path, DxfSettings()));
    EXPECT_EQ(Read(path), kDefaults);
    DxfSettings back = SampleSettings();
    EXPECT_EQ(ReadDxfConfig(path, back), DxfSettings::kFieldCount);
    ExpectSameSettings(back, DxfSettings());
    // Only the file itself is left in the directory: the temporary was renamed over it.
    DIR* d = opendir(m_dir.c_str());
    int entries = 0;
    while (dirent* e = readdir(d)) entries += e->d_name[0] != '.' || e->d_name[1] > '.';
    closedir(d);
    EXPECT_EQ(entries, 1);
}

TEST_F(DxfConfig, EveryFieldSurvivesAWriteAndRead) {
    const std::string path = Path("sample.cfg");
    ASSERT_TRUE(WriteDxfConfig(path, SampleSettings()));
    DxfSettings back;
    EXPECT_EQ(ReadDxfConfig(path, back), DxfSettings::kFieldCount);
    ExpectSameSettings(back, SampleSettings());
    // CR LF line ends read the same.
    std::string text = Read(path), crlf;
    for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    DxfSettings fromCrlf;
    EXPECT_EQ(ReadDxfConfig(Write("crlf.cfg", crlf), fromCrlf), DxfSettings::kFieldCount);
    ExpectSameSettings(fromCrlf, SampleSettings());
}

TEST_F(DxfConfig, LastLineSetsUnitsScaleAndConversion) {
    std::string text = kDefaults;
    text.replace(text.rfind("0,1.000000,0"), 12, "1,2500.000000,1");
    DxfSettings settings;
    EXPECT_EQ(ReadDxfConfig(Write("a.cfg", text), settings), DxfSettings::kFieldCount);
    EXPECT_EQ(settings.unitsIndex, 1);
    EXPECT_EQ(settings.conversionIndex, 1);
    EXPECT_EQ(settings.originalScale, 2500.0);
    text.replace(text.rfind("1,2500.000000,1"), 15, "0,2500.000000,0");
    ReadDxfConfig(Write("b.cfg", text), settings);
    EXPECT_EQ(settings.unitsIndex, 0);
    EXPECT_EQ(settings.conversionIndex, 0);
}

TEST_F(DxfConfig, DamagedFilesAreReadAsFarAsTheyMatch) {
    const DxfSettings before = SampleSettings();
    // Two words in a name: the second is read as the colour, which fails; nothing after it.
    DxfSettings p = before;
    EXPECT_EQ(ReadDxfConfig(Write("two.cfg", "Road Edge\n5\nx\n6\n"), p), 1);
    EXPECT_EQ(p.layerName[0], "Road");
    EXPECT_EQ(p.layerColor[0], before.layerColor[0]);
    EXPECT_EQ(p.layerName[1], before.layerName[1]);
    // An empty name line is skipped: the colour below becomes the name.
    p = before;
    ReadDxfConfig(Write("empty.cfg", "\n7\nB\n2\n"), p);
    EXPECT_EQ(p.layerName[0], "7");
    EXPECT_EQ(p.layerName[1], before.layerName[1]);
    // A corner line cut short keeps the values it has and the rest as they were.
    p = before;
    std::string text = kDefaults;
    text.resize(text.find("0.000000,0.000000,0.000000,1.500000") + 18);
    EXPECT_EQ(ReadDxfConfig(Write("short.cfg", text), p), 16 + 2);
    EXPECT_EQ(p.easting[0], 0.0);
    EXPECT_EQ(p.northing[0], 0.0);
    EXPECT_EQ(p.elevation[0], before.elevation[0]);
    EXPECT_EQ(p.originalScale, before.originalScale);
    // A blank before the comma does not match the literal comma.
    p = before;
    text = kDefaults;
    text.replace(text.find("0.000000,0.000000,0.000000,1.5"), 9, "1.0 ,");
    EXPECT_EQ(ReadDxfConfig(Write("blank.cfg", text), p), 17);
    EXPECT_EQ(p.easting[0], 1.0);
    EXPECT_EQ(p.northing[0], before.northing[0]);
    // A colour beyond the int range saturates.
    p = before;
    ReadDxfConfig(Write("big.cfg", "A\n99999999999999\n"), p);
    EXPECT_EQ(p.layerColor[0], 2147483647);
    // Missing and empty files.
    p = before;
    EXPECT_EQ(ReadDxfConfig(Path("missing.cfg"), p), -1);
    EXPECT_EQ(ReadDxfConfig(Write("nothing.cfg", ""), p), 0);
    ExpectSameSettings(p, before);
}

TEST_F(DxfConfig, LongLayerNamesKeepTheirFirst255Bytes) {
    const std::string longName(300, 'L'), huge(100000, 'H');
    std::string text = longName + "\n3\n" + huge + "\n4\n";
    DxfSettings p = SampleSettings();
    EXPECT_EQ(ReadDxfConfig(Write("long.cfg", text), p), 4);
    EXPECT_EQ(p.layerName[0], std::string(255, 'L'));
    EXPECT_EQ(p.layerColor[0], 3);
    EXPECT_EQ(p.layerName[1], std::string(255, 'H'));
    EXPECT_EQ(p.layerColor[1], 4);
}

TEST_F(DxfConfig, NewDocumentsLoadTheLastConfigurationFile) {
    RecordingFeedback feedback;
    {
        CKorvaneDoc plain(feedback, NewDocumentSettings(""));
        ExpectSameSettings(plain.GetDxfSettings(), DxfSettings());
    }
    const std::string last = Path("last.cfg");
    ASSERT_TRUE(WriteDxfConfig(last, SampleSettings()));
    CKorvaneDoc doc(feedback, NewDocumentSettings(last));
    ExpectSameSettings(doc.GetDxfSettings(), SampleSettings());
    // An unreadable path keeps the defaults, silently.
    CKorvaneDoc other(feedback, NewDocumentSettings(Path("gone.cfg")));
    ExpectSameSettings(other.GetDxfSettings(), DxfSettings());
    EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(DxfConfig, AFailedWriteLeavesTheOldFile) {
    const std::string path = Write("keep.cfg", kDefaults);
    EXPECT_FALSE(WriteDxfConfig(m_dir + "/no/such/dir.cfg", SampleSettings()));
    chmod(m_dir.c_str(), 0500);
    bool wrote = WriteDxfConfig(path, SampleSettings());
    chmod(m_dir.c_str(), 0700);
    if (geteuid() != 0) {
        EXPECT_FALSE(wrote);  // root writes anywhere
    }
    if (!wrote) {
        EXPECT_EQ(Read(path), kDefaults);
    }
}
