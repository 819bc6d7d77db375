#pragma once

#include "core/DataFolder.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace sw::bench {

// Bytes this process has read and written through system calls (/proc/self/io); zero where the
// system does not tell.
struct FileTraffic {
    uint64_t read = 0;
    uint64_t written = 0;
};
FileTraffic fileTraffic();

// The file traffic of one call of `operation`, without the cost of asking.
FileTraffic trafficOf(const std::function<void()>& operation);

// CPU seconds this process has used, the clock the benchmarks' figures are taken with.
double cpuSeconds();

// The floor of a file-bound operation: reading and writing the same number of bytes as one plain
// file copy, a single read of one file and a single write of another.
class CopyFloor {
public:
    CopyFloor(const std::filesystem::path& scratch, FileTraffic traffic);

    // Copies once; returns the CPU seconds it took.
    double run() const;
    const FileTraffic& traffic() const { return m_traffic; }

private:
    std::filesystem::path m_source;
    std::filesystem::path m_target;
    FileTraffic m_traffic;
};

// The file work a day's steps cannot do without, whatever the game does beyond it: in each step,
// every file the step changes written once (a scratch file, its bytes, a rename) or appended to
// once, every file it reads read once, and a journal (written, renamed, removed) for a step that
// changes more than one file; with the bytes the operation really read and wrote.
struct FileWork {
    uint64_t reads = 0;
    uint64_t rewrites = 0;
    uint64_t appends = 0;
    uint64_t journals = 0;
    FileTraffic traffic;
};

// Collects that work from the data folder's hook, one step at a time. A rewrite that left the file's
// bytes as they were is no work a step must do, so it is not counted (the file is read before and
// after to tell).
class FileWorkRecorder final : public FileFaults {
public:
    explicit FileWorkRecorder(std::filesystem::path dir) : m_dir(std::move(dir)) {}
    int before(FileOp op, std::string_view name) override;
    void beforeRead(std::string_view name) override;
    void stepDone() override;
    // The work so far, the step under way counted as done.
    FileWork work();
    // Bytes the recorder itself read to compare files, which the operation's traffic must not count.
    uint64_t bytesRead() const { return m_bytesRead; }

private:
    std::filesystem::path m_dir;
    std::set<std::string, std::less<>> m_read, m_appended;
    std::map<std::string, std::string, std::less<>> m_written; // with the bytes held before the step
    FileWork m_work;
    uint64_t m_bytesRead = 0;
};

// The file work of one call of `operation` on the folder `folder()` hands back; it is asked again
// afterwards, as a day started inside replaces its folder object with a copy (that keeps the hook).
FileWork fileWorkOf(const std::function<DataFolder&()>& folder, const std::function<void()>& operation);

// The floor of a day's file work: exactly the opens, writes, renames and removals FileWork counts,
// the measured bytes shared evenly over them, in plain system calls.
class StepFloor {
public:
    StepFloor(const std::filesystem::path& scratch, FileWork work);

    // Does the work once; returns the CPU seconds it took.
    double run() const;
    const FileWork& work() const { return m_work; }

private:
    std::filesystem::path m_dir;
    FileWork m_work;
};

} // namespace sw::bench
