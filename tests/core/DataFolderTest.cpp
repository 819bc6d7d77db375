// The data folder's files on disk: a rewrite replaces a file whole, a step left half done is
// finished first, and no change ever writes through a link. A step cut short at every operation, and
// the order its bytes reach the disk, are checked on a whole race day in tests/reliability.

#include "core/DataFolder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

using namespace sw;
using test::readAll;
namespace fs = std::filesystem;

namespace {

// Fails the folder's k-th operation with an errno, or without one stops the game dead there.
struct FaultAt final : FileFaults {
    int k, err, seen = 0;
    explicit FaultAt(int k, int err = 0) : k(k), err(err) {}
    int before(FileOp, std::string_view) override {
        if (++seen == k && !err)
            throw k;
        return seen != k ? 0 : err;
    }
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

// The folder as step() leaves it.
std::map<std::string, std::string> after() {
    auto files = Before;
    files["horses.dat"] = "new horses\r\n";
    files["tickets.dat"] += "2,1,2,Win,1,d\r\n";
    files["wins.dat"] += "2,5,2\r\n";
    files["players.dat"] = "1,Ann,398\r\n";
    files["pick6s.dat"] = "2,1,1,1,1,1,1,2\r\n";
    return files;
}

// Past its commit a step is done, whatever fails: the file left waiting goes in with the next step,
// and a one-file rewrite finishes it first too, so the waiting copy never lands on newer content.
// A target that cannot be replaced is refused before anything is written.
TEST_F(DataFolderTest, ACommittedStepIsDoneAndATargetThatCannotBeReplacedIsRefusedFirst) {
    DataFolder folder(dir.path());
    FaultAt renameFails(12, EIO); // the last rename of a file into place, after the commit
    folder.setFaults(&renameFails);
    const StepOutcome waiting = folder.commit(step());
    EXPECT_FALSE(waiting) << waiting.refused.message;
    EXPECT_TRUE(waiting.pending && folder.pending());
    EXPECT_EQ(waiting.notice.rfind("Saved; one file could not be replaced yet (Cannot write players.dat", 0),
              0u)
        << waiting.notice;
    folder.setFaults(nullptr);
    ASSERT_FALSE(folder.write("players.dat", "1,Ann,390\r\n"));
    ASSERT_FALSE(folder.commit(FileChanges().append("tickets.dat", "3,1,2,Win,1,d\r\n")));
    auto expected = after();
    expected["players.dat"] = "1,Ann,390\r\n";
    expected["tickets.dat"] += "3,1,2,Win,1,d\r\n";
    EXPECT_EQ(test::folderContents(dir.path()), expected);

    for (const char* target : {"players.dat", "pick6s.dat"}) {
        test::TempDir other;
        fill(other.path());
        fs::create_directory(other / target);
        const auto before = test::folderContents(other.path());
        const StepOutcome refused = DataFolder(other.path()).commit(step());
        EXPECT_NE(refused.refused.message.find(target), std::string::npos) << target;
        EXPECT_EQ(test::folderContents(other.path()), before) << target;
    }
}

// A step carried past a refusal is kept whole: its files read as they will be, later steps add to
// it (a rewrite replacing, an append adding), a step of other files goes in without it, one that
// shares a file waits with it, and the next step the disk takes writes everything together.
TEST_F(DataFolderTest, ARefusedStepIsKeptReadAsItWillBeAndSavedWithTheNextOne) {
    test::FailingDisk disk("horses.dat");
    DataFolder folder(dir.path());
    folder.setFaults(&disk);
    const StepOutcome kept = folder.carry(step());
    EXPECT_NE(kept.refused.message.find("keeps what it could not save"), std::string::npos)
        << kept.refused.message;
    EXPECT_EQ(test::folderContents(dir.path()), Before);
    ASSERT_TRUE(folder.unsaved());
    EXPECT_TRUE(
        folder.carry(FileChanges().append("tickets.dat", "3,1,2,Win,1,d\r\n").write("wins.dat", "9\r\n")));
    EXPECT_EQ(folder.read("tickets.dat").bytes, "1,1,2,Win,1,d\r\n2,1,2,Win,1,d\r\n3,1,2,Win,1,d\r\n");
    EXPECT_EQ(folder.read("horses.dat").bytes + folder.read("wins.dat").bytes, "new horses\r\n9\r\n");

    EXPECT_FALSE(folder.commit(FileChanges().append("top10players.dat", "Ann,500\r\n")))
        << "a step of other files";
    EXPECT_TRUE(folder.commit(FileChanges().append("wins.dat", "10\r\n"))) << "a step on a kept file";
    EXPECT_TRUE(folder.unsaved());

    disk.on = false;
    ASSERT_FALSE(folder.write("players.dat", "1,Ann,390\r\n"));
    EXPECT_FALSE(folder.unsaved());
    auto expected = after();
    expected["tickets.dat"] += "3,1,2,Win,1,d\r\n";
    expected["wins.dat"] = "9\r\n";
    expected["players.dat"] = "1,Ann,390\r\n";
    expected["top10players.dat"] = "Ann,500\r\n";
    EXPECT_EQ(test::folderContents(dir.path()), expected);
}

// A journal is followed only when it ends with its count and checksum and every file it names is
// between the sizes it records; anything else is refused with every file left as it is, and a
// journal cut short before its end was never committed: it is dropped, and the start says so.
TEST_F(DataFolderTest, AJournalThatDoesNotMatchIsRefusedAndOneWithoutItsEndDropped) {
    struct Case {
        const char* edit;
        std::function<void(const fs::path&)> make;
        const char* named; // in the refusal, or nullptr when the journal is followed or dropped
    };
    auto journal = [](const fs::path& d) { return d / "stridewell.journal"; };
    auto replace = [&](const fs::path& d, const std::string& from, const std::string& to) {
        std::string text = readAll(journal(d));
        ASSERT_NE(text.find(from), std::string::npos) << text;
        test::writeAll(journal(d), text.replace(text.find(from), from.size(), to));
    };
    const std::vector<Case> cases = {
        {"none", [](const fs::path&) {}, nullptr},
        {"an append's size edited",
         [&](const fs::path& d) { replace(d, "tickets.dat,15,", "tickets.dat,0,"); }, "checksum"},
        {"its count edited", [&](const fs::path& d) { replace(d, "end,5,", "end,4,"); }, "count"},
        {"a target restored from an older copy",
         [](const fs::path& d) { test::writeAll(d / "tickets.dat", "1,1,2,Win\r\n"); }, "tickets.dat"},
        {"a target added to by hand",
         [](const fs::path& d) { test::writeAll(d / "wins.dat", "1,3,2\r\n9,9,9\r\n9,9,9\r\n"); },
         "wins.dat"},
        {"a scratch copy cut short", [](const fs::path& d) { test::writeAll(d / "horses.dat.new", "new"); },
         "horses.dat.new"},
        {"its end cut off",
         [&](const fs::path& d) {
             const std::string text = readAll(journal(d));
             test::writeAll(journal(d), text.substr(0, text.rfind("end,")));
         },
         nullptr},
    };
    for (const Case& c : cases) {
        test::TempDir killed;
        fill(killed.path());
        DataFolder folder(killed.path());
        FaultAt kill(8); // the first append, just after the commit
        folder.setFaults(&kill);
        EXPECT_THROW(folder.commit(step()), int);
        c.make(killed.path());
        const auto left = test::folderContents(killed.path());
        const StepOutcome recovered = DataFolder(killed.path()).recover();
        const bool torn = std::string_view(c.edit) == "its end cut off";
        if (c.named) {
            EXPECT_NE(recovered.refused.message.find(c.named), std::string::npos)
                << c.edit << ": " << recovered.refused.message;
            EXPECT_EQ(test::folderContents(killed.path()), left) << c.edit;
        } else {
            EXPECT_FALSE(recovered) << c.edit << ": " << recovered.refused.message;
            EXPECT_EQ(test::folderContents(killed.path()), torn ? Before : after()) << c.edit;
            EXPECT_EQ(recovered.notice.find("dropped") != std::string::npos, torn) << c.edit;
        }
    }
}

TEST_F(DataFolderTest, ARecordIsNeverJoinedToAnOpenLastLine) {
    test::writeAll(dir / "top10players.dat", "Ann,500");
    ASSERT_FALSE(DataFolder(dir.path()).commit(FileChanges().append("top10players.dat", "Bob,420\r\n")));
    EXPECT_EQ(readAll(dir / "top10players.dat"), "Ann,500\r\nBob,420\r\n");
}

// A folder in memory steps as one on disk does, its copies share its files, and the disk is never touched.
TEST(MemoryFolder, StepsAsAFolderOnDiskDoesAndCopiesShareTheFiles) {
    const DataFolder folder =
        DataFolder::inMemory({{"top10players.dat", "Ann,500"}, {"players.dat", "1,Ann,0\r\n"}});
    const DataFolder copy = folder;
    ASSERT_FALSE(copy.commit(FileChanges()
                                 .append("top10players.dat", "Bob,420\r\n")
                                 .append("tickets.dat", "1,1,2\r\n")
                                 .write("players.dat", "1,Bob,0\r\n")));
    ASSERT_FALSE(copy.write("wins.dat", "1,1,5\r\n"));
    EXPECT_FALSE(copy.pending());
    const std::pair<const char*, const char*> files[] = {{"top10players.dat", "Ann,500\r\nBob,420\r\n"},
                                                         {"tickets.dat", "1,1,2\r\n"},
                                                         {"players.dat", "1,Bob,0\r\n"},
                                                         {"wins.dat", "1,1,5\r\n"}};
    for (const auto& [name, bytes] : files) {
        EXPECT_TRUE(folder.read(name).read()) << name;
        EXPECT_EQ(folder.read(name).bytes, bytes) << name;
    }
    EXPECT_EQ(folder.read("shows.dat").status, ReadStatus::Missing);
    EXPECT_TRUE(folder.isInMemory());
    EXPECT_FALSE(std::filesystem::exists("wins.dat"));
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
