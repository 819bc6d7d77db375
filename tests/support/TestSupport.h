#pragma once

#include "core/DataFolder.h"
#include "core/Prompter.h"
#include "core/RaceDay.h"
#include "core/Random.h"

#include <cerrno>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sw::test {

// Answers questions from a script and records every message and question it was shown.
class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        std::string text;
        std::string title;
        bool question = false;
    };

    void answer(bool yes) { m_answers.push_back(yes); }
    void message(std::string_view text, std::string_view title) override;
    // Unscripted questions are answered No.
    bool ask(std::string_view text, std::string_view title) override;

    const std::vector<Shown>& shown() const { return m_shown; }
    bool sawText(std::string_view text) const;
    // Every message shown as "title: text", a question marked with "?", joined by " | ".
    std::string said() const;
    void clear() { m_shown.clear(); }

private:
    std::deque<bool> m_answers;
    std::vector<Shown> m_shown;
};

// Refuses the data folder's operations with an errno while on: every one, or those on one file, or
// only one kind of operation on it.
struct FailingDisk final : FileFaults {
    explicit FailingDisk(std::string only = {}, int err = ENOSPC, std::optional<FileOp> op = {})
        : only(std::move(only)), err(err), op(op) {}
    int before(FileOp kind, std::string_view name) override {
        return on && (only.empty() || name == only) && (!op || *op == kind) ? err : 0;
    }
    bool on = true;
    std::string only;
    int err;
    std::optional<FileOp> op;
};

// Replays a fixed list of draws, then repeats the last one; for tests that pin every draw.
class ListRandom final : public Random {
public:
    explicit ListRandom(std::vector<double> values) : m_values(std::move(values)) {}
    double uniform() override;
    std::size_t drawsTaken() const { return m_next; }

private:
    std::vector<double> m_values;
    std::size_t m_next = 0;
};

// A fresh folder under the system's temp folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// A race day in a fresh temp folder, drawing from a Draws made of the arguments given, with
// scripted answers.
template <typename Draws = SeededRandom> struct DayOnDisk {
    template <typename... Args> explicit DayOnDisk(Args&&... args) : random(std::forward<Args>(args)...) {}

    TempDir dir;
    Draws random;
    ScriptedPrompter prompter;
    RaceDay day{dir.path(), random, prompter};
};

std::string readAll(const std::filesystem::path& file);
void writeAll(const std::filesystem::path& file, std::string_view content);
std::vector<std::string> readLines(const std::filesystem::path& file);
// Every regular file of the folder by name, with its bytes.
std::map<std::string, std::string> folderContents(const std::filesystem::path& dir);

// Runs body in a child process and returns its exit status (128 + signal when it died). A child
// of root first becomes an ordinary user, since root reads and writes files whatever their
// permissions say (97 when it could not).
int runAsUser(const std::function<int()>& body);

// Copies the source tree's bundled data into dir, so a test can play on it without touching the original.
void copyBundledData(const std::filesystem::path& dir);

// Checks the data folder's disk operations in order, as a crash-test file system would: a file is
// renamed only once its bytes are synced; a journal's scratch files are synced before the journal
// takes its name; no file of a step changes before the journal is on disk (its bytes and its
// name); every file a step changed is on disk before the journal is removed and when the step
// ends. A lone rewrite (one scratch file renamed, no journal) needs no journal.
class DiskOrderCheck final : public DiskObserver {
public:
    // A recovery starts on a journal a kill left, whose name may not be on disk yet.
    void journalLeftByAKill() { m_stepJournaled = true; }
    void saw(DiskEvent event, std::string_view name, std::string_view to) override;
    void stepDone() override;
    const std::vector<std::string>& problems() const { return m_problems; }

private:
    struct OnDisk {
        bool bytes = false;
        bool name = false;
    };
    void journalMustBeOnDisk(std::string_view what);
    void problem(std::string what) {
        m_problems.push_back(std::to_string(m_events) + ": " + std::move(what));
    }

    std::map<std::string, OnDisk, std::less<>> m_files; // files created or changed while watched
    std::set<std::string, std::less<>> m_changed;       // targets the step changed
    bool m_stepJournaled = false;
    int m_events = 0;
    std::vector<std::string> m_problems;
};

} // namespace sw::test
