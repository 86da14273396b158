#include <gtest/gtest.h>

#include <QSettings>

#include "app/settings/AppSettings.h"

// What one application writes the next one reads, through the user's settings under the keys
// earlier versions used; what lives only for a run starts afresh with each application.
TEST(AppSettings, KeptBetweenRunsUnderTheOldKeysAndCappedWhenRead) {
    QSettings stored(kOrganisation, kApplication);
    stored.setValue("RecentFiles", QStringList{"/a", "/b", "/c", "/d", "/e", "/f"});  // by hand
    struct Case {
        const char* change;
        QStringList recent;
    } cases[] = {
        {"", {"/a", "/b", "/c", "/d"}},           {"add /c", {"/c", "/a", "/b", "/d"}},
        {"add /new", {"/new", "/c", "/a", "/b"}}, {"remove /a", {"/new", "/c", "/b"}},
        {"remove /gone", {"/new", "/c", "/b"}},
    };
    for (const Case& c : cases) {
        AppSettings run;
        const QString change = QLatin1String(c.change);
        if (change.startsWith("add ")) run.AddRecentFile(change.mid(4));
        if (change.startsWith("remove ")) {
            EXPECT_EQ(run.RemoveRecentFile(change.mid(7)), change != "remove /gone");
        }
        EXPECT_EQ(AppSettings().RecentFiles(), c.recent) << c.change;
    }

    AppSettings first;
    first.m_cfgFilePath = "/site/tilted.cfg";
    first.m_fitToPage = 1;
    first.WriteCfgFile();
    EXPECT_TRUE(first.FirstRefusal("/pipe.cfg"));
    EXPECT_FALSE(first.FirstRefusal("/pipe.cfg"));
    EXPECT_EQ(QSettings(kOrganisation, kApplication).value("CfgFile"), "/site/tilted.cfg");
    AppSettings next;
    next.ReadCfgFile();
    EXPECT_EQ(next.m_cfgFilePath, "/site/tilted.cfg");
    EXPECT_EQ(next.m_fitToPage, 0);
    EXPECT_TRUE(next.FirstRefusal("/pipe.cfg"));
    stored.clear();  // the tests after this one start with none
}
