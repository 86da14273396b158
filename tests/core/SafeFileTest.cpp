// The safe-write routine under interruption: no temporary outlives the process, whichever way
// it ends, and the old file stays until the new one is complete.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "plot/FileError.h"
#include "plot/SafeFile.h"

namespace {
std::string FreshFolder(const std::string& name) {
    const std::string dir = ::testing::TempDir() + "safefile-" + name;
    std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
    return dir;
}

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        closedir(d);
    }
    return names;
}

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Named {
    explicit Named(bool named) { SafeFile::ForceNamedTemporary(named); }
    ~Named() { SafeFile::ForceNamedTemporary(false); }
};
}  // namespace

TEST(SafeFile, NewContentHasNoNameUntilCommit) {
    const std::string dir = FreshFolder("unnamed");
    const std::string target = dir + "/out.plt";
    Write(target, "old");
    SafeFile file = SafeFile::Create(target);
    file.Write("new", 3);
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"out.plt"});
    EXPECT_EQ(Read(target), "old");
    file.Commit();
    EXPECT_EQ(Read(target), "new");
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"out.plt"});
}

TEST(SafeFile, ASignalMidWriteLeavesTheOldFileAndNoTemporary) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // (named temporary, signal, bytes): an unnamed file vanishes even on SIGKILL; a named one is
    // removed on every signal that can be caught, also while a large one is being flushed.
    constexpr std::size_t kLarge = 9 << 20;
    const struct {
        bool named;
        int sig;
        std::size_t bytes;
    } cases[] = {{false, SIGKILL, 7},    {false, SIGTERM, 7}, {true, SIGTERM, 7},
                 {true, SIGINT, 7},      {true, SIGHUP, 7},   {true, SIGXFSZ, 7},
                 {true, SIGTERM, kLarge}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.named ? "named " : "unnamed ") + strsignal(c.sig) + " after " +
                     std::to_string(c.bytes));
        const std::string dir = FreshFolder("signal");
        const std::string target = dir + "/out.dxf";
        Write(target, "old");
        EXPECT_EXIT(
            {
                Named mode(c.named);
                SafeFile file = SafeFile::Create(target);
                file.Write(std::string(c.bytes, 'p').data(), c.bytes);
                raise(c.sig);
            },
            ::testing::KilledBySignal(c.sig), "");
        EXPECT_EQ(Entries(dir), std::vector<std::string>{"out.dxf"});
        EXPECT_EQ(Read(target), "old");
    }
}

TEST(SafeFile, NamedTemporaryIsRemovedWhenAbandonedAndRenamedOnCommit) {
    Named mode(true);
    const std::string dir = FreshFolder("named");
    const std::string target = dir + "/out.svg";
    for (const std::size_t bytes : {std::size_t(1), std::size_t(9) << 20}) {  // small; flushed
        SafeFile file = SafeFile::Create(target);
        file.Write(std::string(bytes, 'x').data(), bytes);
        EXPECT_EQ(Entries(dir).size(), 1u);  // the hidden temporary
    }
    EXPECT_TRUE(Entries(dir).empty());
    SafeFile file = SafeFile::Create(target);
    file.Write("svg", 3);
    file.Commit();
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"out.svg"});
    EXPECT_EQ(Read(target), "svg");
}

TEST(SafeFile, SharedFolderRuleFollowsOnlyTheWritersOrTheFolderOwnersEntries) {
    // (folder mode, folder owner, entry owner, writer, allowed): only a folder both sticky and
    // world-writable is shared; root as writer gets no exception there.
    const struct {
        unsigned folderMode, folderOwner, owner, writer;
        bool allowed;
    } cases[] = {{01777, 0, 1000, 0, false},   {01777, 0, 1000, 2000, false},
                 {01777, 0, 1000, 1000, true}, {01777, 0, 0, 1000, true},
                 {01777, 500, 500, 0, true},   {0777, 0, 1000, 0, true},
                 {01775, 0, 1000, 0, true},    {01770, 0, 1000, 2000, true},
                 {040755, 0, 1000, 0, true},   {041777, 1000, 2000, 0, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(SafeFile::SharedFolderAllows(c.folderMode, c.folderOwner, c.owner, c.writer),
                  c.allowed)
            << std::oct << c.folderMode << std::dec << " folder of " << c.folderOwner
            << ", entry of " << c.owner << ", writer " << c.writer;
    }
}

TEST(SafeFile, LinksOnTheWayAreFollowedAndAReplacedFileKeepsItsModeWithoutSpecialBits) {
    const std::string dir = FreshFolder("links");
    ASSERT_EQ(::mkdir((dir + "/real").c_str(), 0755), 0);
    Write(dir + "/real/out.plt", "old");
    ASSERT_EQ(::chmod((dir + "/real/out.plt").c_str(), 06751), 0);
    ASSERT_EQ(::symlink("real", (dir + "/folder").c_str()), 0);
    ASSERT_EQ(::symlink("../folder/out.plt", (dir + "/real/link").c_str()), 0);
    SafeFile file = SafeFile::Create(dir + "/folder/link");
    file.Write("new", 3);
    file.Commit();
    EXPECT_EQ(Read(dir + "/real/out.plt"), "new");
    struct stat st;
    ASSERT_EQ(::lstat((dir + "/real/link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(::stat((dir + "/real/out.plt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0751u);
    EXPECT_THROW(SafeFile::Create(dir + "/real/"), FileError);
}
