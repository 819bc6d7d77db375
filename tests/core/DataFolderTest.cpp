// The data folder's steps: several files change together or not at all, whether a write fails
// or the game is killed at any point, and no change ever writes through a link.

#include "core/DataFolder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>

using namespace sw;
namespace fs = std::filesystem;

namespace {

using Folder = std::map<std::string, std::string>;

constexpr auto contentsOf = test::folderContents;

struct Killed {};

// Counts the folder's operations; fails the k-th one with an errno, or stops the game there.
class FaultAt final : public FileFaults {
public:
    FaultAt(int k, int err) : m_k(k), m_err(err) {}
    int before(FileOp, std::string_view) override {
        if (++m_seen != m_k)
            return 0;
        if (m_err == 0)
            throw Killed{};
        return m_err;
    }
    int seen() const { return m_seen; }

private:
    int m_k;
    int m_err;
    int m_seen = 0;
};

struct DataFolderTest : ::testing::Test {
    void SetUp() override {
        test::writeAll(dir / "horses.dat", "old horses\r\n");
        test::writeAll(dir / "tickets.dat", "1,1,2,Win,1,d\r\n");
        test::writeAll(dir / "wins.dat", "1,3,2\r\n");
    }
    // A step of every kind: two rewrites, two appends (one to a file that is not there yet).
    static FileChanges step() {
        FileChanges changes;
        changes.write("horses.dat", "new horses\r\n")
            .append("tickets.dat", "2,1,2,Win,1,d\r\n")
            .append("wins.dat", "2,5,2\r\n")
            .write("players.dat", "1,Ann,398\r\n")
            .append("pick6s.dat", "2,1,1,1,1,1,1,2\r\n");
        return changes;
    }
    test::TempDir dir;
};

TEST_F(DataFolderTest, AStepChangesEveryFileAndLeavesNothingAside) {
    Folder expected = contentsOf(dir.path());
    expected["horses.dat"] = "new horses\r\n";
    expected["tickets.dat"] += "2,1,2,Win,1,d\r\n";
    expected["wins.dat"] += "2,5,2\r\n";
    expected["players.dat"] = "1,Ann,398\r\n";
    expected["pick6s.dat"] = "2,1,1,1,1,1,1,2\r\n";
    DataFolder folder(dir.path());
    ASSERT_FALSE(folder.commit(step()));
    EXPECT_EQ(contentsOf(dir.path()), expected);
}

// Every operation of the step, failed (a full disk) or killed: after the failure, or after the
// kill and the next start's recovery, the folder is exactly as before or exactly as after.
TEST_F(DataFolderTest, AFailureOrAKillAtAnyOperationLeavesBeforeOrAfter) {
    const Folder before = contentsOf(dir.path());
    Folder after;
    int operations = 0;
    {
        test::TempDir clean;
        for (const auto& [name, bytes] : before)
            test::writeAll(clean / name, bytes);
        DataFolder folder(clean.path());
        FaultAt counter(-1, 0);
        folder.setFaults(&counter);
        ASSERT_FALSE(folder.commit(step()));
        after = contentsOf(clean.path());
        operations = counter.seen();
    }
    ASSERT_GE(operations, 10);
    for (int err : {ENOSPC, 0}) {
        for (int k = 1; k <= operations; ++k) {
            test::TempDir run;
            for (const auto& [name, bytes] : before)
                test::writeAll(run / name, bytes);
            DataFolder folder(run.path());
            FaultAt fault(k, err);
            folder.setFaults(&fault);
            bool failed = true;
            try {
                failed = static_cast<bool>(folder.commit(step()));
            } catch (const Killed&) {
            }
            // The next start recovers before anything is read.
            EXPECT_FALSE(DataFolder(run.path()).recover()) << k;
            const Folder now = contentsOf(run.path());
            EXPECT_TRUE(now == before || now == after) << "operation " << k << (err ? " failed" : " killed");
            if (!failed) {
                EXPECT_EQ(now, after) << k;
            }
        }
    }
}

TEST_F(DataFolderTest, AStepLeftWaitingIsFinishedBeforeTheNext) {
    DataFolder folder(dir.path());
    FaultAt renameFails(12, EIO); // the last rename of a file into place, after the commit
    folder.setFaults(&renameFails);
    EXPECT_TRUE(folder.commit(step()));
    folder.setFaults(nullptr);
    ASSERT_FALSE(folder.commit(FileChanges().append("tickets.dat", "3,1,2,Win,1,d\r\n")));
    EXPECT_EQ(test::readAll(dir / "players.dat"), "1,Ann,398\r\n");
    EXPECT_EQ(test::readAll(dir / "tickets.dat"), "1,1,2,Win,1,d\r\n2,1,2,Win,1,d\r\n3,1,2,Win,1,d\r\n");
    EXPECT_FALSE(fs::exists(dir / "stridewell.journal"));
}

TEST_F(DataFolderTest, ARecordIsNeverJoinedToAnOpenLastLine) {
    test::writeAll(dir / "top10players.dat", "Ann,500");
    DataFolder folder(dir.path());
    ASSERT_FALSE(folder.commit(FileChanges().append("top10players.dat", "Bob,420\r\n")));
    EXPECT_EQ(test::readAll(dir / "top10players.dat"), "Ann,500\r\nBob,420\r\n");
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
    EXPECT_EQ(test::readAll(dir / "races.dat"), "card\r\n");

    fs::create_symlink(victim, dir / "exactas.dat");
    fs::create_symlink(victim, dir / "tickets.dat.add");
    EXPECT_TRUE(folder.commit(FileChanges().append("exactas.dat", "2,1,3,2\r\n")));
    EXPECT_FALSE(folder.commit(FileChanges().append("tickets.dat", "2,1,2,Win,1,d\r\n")));
    EXPECT_EQ(test::readAll(victim), "keep me\r\n");
}

TEST_F(DataFolderTest, ReadsTellMissingFromUnreadable) {
    DataFolder folder(dir.path());
    fs::create_directory(dir / "jockeys.dat");
    EXPECT_EQ(folder.read("horses.dat").status, ReadStatus::Read);
    EXPECT_EQ(folder.read("horses.dat").bytes, "old horses\r\n");
    EXPECT_EQ(folder.read("settings.dat").status, ReadStatus::Missing);
    EXPECT_EQ(folder.read("jockeys.dat").status, ReadStatus::Unreadable);
}

TEST(DataFileName, OnlyThePlainNamesOfTheGamesFiles) {
    for (const char* name : {"horses.dat", "pick6s.dat", "pastperformances.tmp"})
        EXPECT_TRUE(isDataFileName(name)) << name;
    for (const char* name :
         {"../horses.dat", "a/b.dat", ".dat", "horses", "Horses.dat", "x.datx", "x.dat.new"})
        EXPECT_FALSE(isDataFileName(name)) << name;
}

} // namespace
