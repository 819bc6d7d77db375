// A power cut right after play: the data folder lives on a small ext4 image, the game plays part
// of a day on it, and the file system is then shut down without writing its log (what file system
// test suites use for a power cut). Once mounted again, every file must be as the last step left
// it: a step the game has finished is on disk. Needs root and a loop device; skipped otherwise.

#include "ReliabilitySupport.h"

#include "players/Players.h"
#include "support/GameDay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace sw;
namespace fs = std::filesystem;

namespace {

// The file system shutdown call and its flag that drops the log unwritten.
constexpr unsigned long ShutDown = _IOR('X', 125, uint32_t);
constexpr uint32_t WithoutLogFlush = 2;

int run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

// An ext4 image mounted through a loop device, unmounted (and its device let go) at the end.
class LoopMount {
public:
    LoopMount() {
        if (::geteuid() != 0) {
            m_skip = "needs root to mount a file system image";
            return;
        }
        const std::string image = (m_image.path() / "folder.img").string();
        if (run("truncate -s 64M " + image) != 0 || run("mkfs.ext4 -q -F " + image) != 0) {
            m_skip = "mkfs.ext4 could not make an image";
            return;
        }
        mount();
        if (!m_mounted)
            m_skip = "cannot mount a loop device here";
    }
    ~LoopMount() { unmount(); }

    const std::string& skip() const { return m_skip; }
    fs::path dir() const { return m_point.path() / "data"; }
    void mount() {
        m_mounted = run("mount -o loop " + (m_image.path() / "folder.img").string() + " " +
                        m_point.path().string()) == 0;
    }
    void unmount() {
        if (m_mounted && run("umount " + m_point.path().string()) == 0)
            m_mounted = false;
    }
    // The power cut: what the file system has not written to its log by now is lost.
    bool cutPower() const {
        const int fd = ::open(m_point.path().c_str(), O_RDONLY | O_DIRECTORY);
        uint32_t flags = WithoutLogFlush;
        const bool cut = fd >= 0 && ::ioctl(fd, ShutDown, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return cut;
    }

private:
    test::TempDir m_image;
    test::TempDir m_point;
    bool m_mounted = false;
    std::string m_skip;
};

TEST(PowerCut, AfterPlayEveryFinishedStepIsOnDisk) {
    LoopMount mount;
    if (!mount.skip().empty())
        GTEST_SKIP() << "power cut not tried: " << mount.skip();
    fs::create_directories(mount.dir());
    test::copyBundledData(mount.dir());
    test::writeAll(mount.dir() / "players.dat", "");
    ::sync(); // the stable the day starts from is on disk
    std::map<std::string, std::string> played;
    {
        SeededRandom random(11);
        test::ScriptedPrompter prompter;
        Game game(mount.dir(), random, prompter);
        ASSERT_TRUE(game.startDay());
        game.toteBoard();
        for (const char* name : {"Ann", "Bob"})
            ASSERT_TRUE(addPlayer(game.day(), name));
        for (int race = 0; race < 3; ++race) {
            for (const char* ticket : {"$2 Exacta Box 134", "$2 WPS on 3", "$1 Trifecta Box 123"})
                game.ticketList().listTicket(game.day(), ticket);
            ASSERT_EQ(game.pay().error, "");
            ASSERT_TRUE(test::playRace(game));
        }
        played = test::folderContents(mount.dir());
    }
    if (!mount.cutPower())
        GTEST_SKIP() << "power cut not tried: the file system refused to shut down";
    mount.unmount();
    mount.mount();
    ASSERT_TRUE(fs::exists(mount.dir())) << "the folder did not come back";
    ASSERT_FALSE(DataFolder(mount.dir()).recover());
    std::map<std::string, std::string> after = test::folderContents(mount.dir());
    after.erase("stridewell.lock");
    played.erase("stridewell.lock");
    for (const auto& [name, bytes] : played)
        EXPECT_TRUE(after.count(name) && after[name] == bytes)
            << name << ": " << bytes.size() << " bytes played, "
            << (after.count(name) ? after[name].size() : 0) << " after the power cut";
    EXPECT_EQ(reliability::folderProblems(mount.dir()), std::vector<std::string>{});
}

} // namespace
