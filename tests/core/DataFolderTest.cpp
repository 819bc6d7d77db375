// The data folder's files on disk: a rewrite replaces a file whole, a step left half done is
// finished first, and no change ever writes through a link. A step cut short at every operation
// is checked on a whole race day in tests/reliability.

#include "core/DataFolder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace sw;
using test::readAll;
namespace fs = std::filesystem;

namespace {

// Fails the folder's k-th operation with an errno.
struct FaultAt final : FileFaults {
    int k, err, seen = 0;
    FaultAt(int k, int err) : k(k), err(err) {}
    int before(FileOp, std::string_view) override { return ++seen != k ? 0 : err; }
};

const std::map<std::string, std::string> Before = {
    {"horses.dat", "old horses\r\n"}, {"tickets.dat", "1,1,2,Win,1,d\r\n"}, {"wins.dat", "1,3,2\r\n"}};

void fill(const fs::path& dir) {
    for (const auto& [name, bytes] : Before)
        test::writeAll(dir / name, bytes);
}

// A step of every kind: two rewrites, three appends (one to a file that is not there yet).
FileChanges step() {
    FileChanges changes;
    changes.write("horses.dat", "new horses\r\n")
        .append("tickets.dat", "2,1,2,Win,1,d\r\n")
        .append("wins.dat", "2,5,2\r\n")
        .write("players.dat", "1,Ann,398\r\n")
        .append("pick6s.dat", "2,1,1,1,1,1,1,2\r\n");
    return changes;
}

struct DataFolderTest : ::testing::Test {
    void SetUp() override { fill(dir.path()); }
    test::TempDir dir;
};

TEST_F(DataFolderTest, AStepLeftWaitingIsFinishedBeforeTheNext) {
    DataFolder folder(dir.path());
    FaultAt renameFails(12, EIO); // the last rename of a file into place, after the commit
    folder.setFaults(&renameFails);
    EXPECT_TRUE(folder.commit(step()));
    folder.setFaults(nullptr);
    ASSERT_FALSE(folder.commit(FileChanges().append("tickets.dat", "3,1,2,Win,1,d\r\n")));
    EXPECT_EQ(readAll(dir / "players.dat"), "1,Ann,398\r\n");
    EXPECT_EQ(readAll(dir / "tickets.dat"), "1,1,2,Win,1,d\r\n2,1,2,Win,1,d\r\n3,1,2,Win,1,d\r\n");
    EXPECT_FALSE(fs::exists(dir / "stridewell.journal"));
}

TEST_F(DataFolderTest, ARecordIsNeverJoinedToAnOpenLastLine) {
    test::writeAll(dir / "top10players.dat", "Ann,500");
    ASSERT_FALSE(DataFolder(dir.path()).commit(FileChanges().append("top10players.dat", "Bob,420\r\n")));
    EXPECT_EQ(readAll(dir / "top10players.dat"), "Ann,500\r\nBob,420\r\n");
}

// A link in the data folder, at a file's name or at its scratch name, is never written through.
TEST_F(DataFolderTest, LinksAreReplacedOrRefusedNeverWrittenThrough) {
    test::TempDir outside;
    const auto victim = outside / "victim.txt";
    test::writeAll(victim, "keep me\r\n");
    DataFolder folder(dir.path());

    fs::create_symlink(victim, dir / "results.dat");
    fs::create_symlink(victim, dir / "races.dat.new");
    EXPECT_FALSE(folder.write("results.dat", ""));
    EXPECT_FALSE(folder.write("races.dat", "card\r\n"));
    EXPECT_FALSE(fs::is_symlink(dir / "results.dat"));
    EXPECT_EQ(readAll(dir / "races.dat"), "card\r\n");

    fs::create_symlink(victim, dir / "exactas.dat");
    fs::create_symlink(victim, dir / "tickets.dat.add");
    EXPECT_TRUE(folder.commit(FileChanges().append("exactas.dat", "2,1,3,2\r\n")));
    EXPECT_FALSE(folder.commit(FileChanges().append("tickets.dat", "2,1,2,Win,1,d\r\n")));
    EXPECT_EQ(readAll(victim), "keep me\r\n");
}

TEST_F(DataFolderTest, ARewriteReplacesTheWholeFileOrLeavesTheOldOne) {
    EXPECT_FALSE(writeFileAtomic(dir / "horses.dat", "new\r\n"));
    EXPECT_EQ(readAll(dir / "horses.dat"), "new\r\n");
    EXPECT_FALSE(fs::exists(dir / "horses.dat.new"));
    // A folder where the scratch file should go makes the rewrite fail half-way.
    fs::create_directory(dir / "wins.dat.new");
    const FileError err = writeFileAtomic(dir / "wins.dat", "new\r\n");
    EXPECT_NE(err.message.find("wins.dat"), std::string::npos);
    EXPECT_EQ(readAll(dir / "wins.dat"), "1,3,2\r\n");
}

TEST_F(DataFolderTest, ReadsTellMissingFromUnreadable) {
    fs::create_directory(dir / "jockeys.dat");
    const DataFolder folder(dir.path());
    for (const auto& [name, status] : {std::pair{"horses.dat", ReadStatus::Read},
                                       {"settings.dat", ReadStatus::Missing},
                                       {"jockeys.dat", ReadStatus::Unreadable}}) {
        EXPECT_EQ(readFile(dir / name).status, status) << name;
        EXPECT_EQ(folder.read(name).status, status) << name;
    }
    EXPECT_EQ(readFile(dir / "horses.dat").bytes + folder.read("horses.dat").bytes,
              "old horses\r\nold horses\r\n");
}

// A rewrite that would change no byte costs nothing; a held read is read once, yet a file the
// folder changes is read afresh.
TEST_F(DataFolderTest, UnchangedRewritesAreSkippedAndHeldReadsFollowTheFolder) {
    test::writeAll(dir / "pick6s.dat", "");
    DataFolder folder(dir.path());
    FaultAt counted(0, 0);
    folder.setFaults(&counted);
    EXPECT_FALSE(folder.write("horses.dat", "old horses\r\n"));
    EXPECT_FALSE(folder.commit(FileChanges().write("pick6s.dat", "").write("wins.dat", "1,3,2\r\n")));
    EXPECT_EQ(counted.seen, 0) << "nothing was written or renamed";
    EXPECT_FALSE(folder.commit(FileChanges().write("pick6s.dat", "").write("wins.dat", "")));
    EXPECT_EQ(counted.seen, 4) << "one rewrite: its scratch, the journal and its rename, the rename";
    folder.setFaults(nullptr);

    {
        HeldReads once(folder);
        EXPECT_EQ(folder.read("horses.dat").bytes, "old horses\r\n");
        test::writeAll(dir / "horses.dat", "edited\r\n");
        EXPECT_EQ(folder.read("horses.dat").bytes, "old horses\r\n") << "read once while held";
        ASSERT_FALSE(folder.commit(step()));
        EXPECT_EQ(folder.read("horses.dat").bytes + folder.read("tickets.dat").bytes,
                  "new horses\r\n1,1,2,Win,1,d\r\n2,1,2,Win,1,d\r\n");
        ASSERT_FALSE(folder.write("wins.dat", "9,1,2\r\n"));
        EXPECT_EQ(folder.read("wins.dat").bytes, "9,1,2\r\n");
    }
    test::writeAll(dir / "horses.dat", "edited\r\n");
    EXPECT_EQ(folder.read("horses.dat").bytes, "edited\r\n") << "released, every read goes to the file";
}

TEST(DataFileName, OnlyThePlainNamesOfTheGamesFiles) {
    for (const char* name : {"horses.dat", "pick6s.dat", "pastperformances.tmp"})
        EXPECT_TRUE(isDataFileName(name)) << name;
    for (const char* name :
         {"../horses.dat", "a/b.dat", ".dat", "horses", "Horses.dat", "x.datx", "x.dat.new"})
        EXPECT_FALSE(isDataFileName(name)) << name;
}

} // namespace
