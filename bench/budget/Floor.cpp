#include "Floor.h"

#include "core/FileStore.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace sw::bench {

namespace {

void readAllOf(const std::filesystem::path& file, std::string& into) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + file.string());
    std::size_t done = 0;
    while (done < into.size()) {
        ssize_t n = ::read(fd, into.data() + done, into.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

void writeAllTo(const std::filesystem::path& file, const std::string& text, std::size_t bytes) {
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot write " + file.string());
    std::size_t done = 0;
    while (done < bytes) {
        ssize_t n = ::write(fd, text.data() + done, bytes - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

} // namespace

FileTraffic fileTraffic() {
    FileTraffic traffic;
    std::FILE* io = std::fopen("/proc/self/io", "r");
    if (!io)
        return traffic;
    char name[32];
    unsigned long long value = 0;
    while (std::fscanf(io, "%31[^:]: %llu\n", name, &value) == 2) {
        if (std::string_view(name) == "rchar")
            traffic.read = value;
        else if (std::string_view(name) == "wchar")
            traffic.written = value;
    }
    std::fclose(io);
    return traffic;
}

FileTraffic trafficOf(const std::function<void()>& operation) {
    // Asking reads /proc/self/io itself; two asks in a row measure that cost.
    const FileTraffic a = fileTraffic();
    const FileTraffic b = fileTraffic();
    operation();
    const FileTraffic c = fileTraffic();
    const uint64_t asking = b.read - a.read;
    FileTraffic traffic;
    traffic.read = c.read - b.read > asking ? c.read - b.read - asking : 0;
    traffic.written = c.written - b.written;
    return traffic;
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

CopyFloor::CopyFloor(const std::filesystem::path& scratch, FileTraffic traffic)
    : m_source(scratch / "floor.source"), m_target(scratch / "floor.target"), m_traffic(traffic) {
    std::filesystem::create_directories(scratch);
    writeAllTo(m_source, std::string(m_traffic.read, 'x'), m_traffic.read);
}

double CopyFloor::run() const {
    const double start = cpuSeconds();
    std::string bytes(std::max(m_traffic.read, m_traffic.written), 'x');
    readAllOf(m_source, bytes);
    writeAllTo(m_target, bytes, m_traffic.written);
    return cpuSeconds() - start;
}

namespace {

constexpr std::string_view JournalFile = "stridewell.journal";

// The target files a floor rewrites in turn: a day changes a handful of files each step.
constexpr int FloorTargets = 16;

void rewriteOnce(const std::filesystem::path& dir, int target, const std::string& bytes) {
    const auto file = dir / ("target" + std::to_string(target));
    auto scratch = file;
    scratch += ".new";
    writeAllTo(scratch, bytes, bytes.size());
    std::rename(scratch.c_str(), file.c_str());
}

} // namespace

int FileWorkRecorder::before(FileOp op, std::string_view name) {
    if (name == JournalFile)
        return 0;
    if (op == FileOp::Append)
        m_appended.emplace(name);
    else if (!m_written.contains(name)) { // an append's own bytes go aside first, as a write
        std::string bytes = readFile(m_dir / name).bytes;
        m_bytesRead += bytes.size();
        m_written.emplace(std::string(name), std::move(bytes));
    }
    return 0;
}

void FileWorkRecorder::beforeRead(std::string_view name) {
    m_read.emplace(name);
}

void FileWorkRecorder::stepDone() {
    for (const std::string& name : m_appended)
        m_written.erase(name);
    std::size_t changed = 0;
    for (const auto& [name, before] : m_written) {
        const FileContent now = readFile(m_dir / name);
        m_bytesRead += now.bytes.size();
        changed += !now.read() || now.bytes != before;
    }
    m_work.reads += m_read.size();
    m_work.rewrites += changed;
    m_work.appends += m_appended.size();
    if (changed + m_appended.size() > 1)
        ++m_work.journals;
    m_read.clear();
    m_written.clear();
    m_appended.clear();
}

FileWork FileWorkRecorder::work() {
    stepDone();
    return m_work;
}

FileWork fileWorkOf(const std::function<DataFolder&()>& folder, const std::function<void()>& operation) {
    FileWorkRecorder recorder(folder().dir());
    folder().setFaults(&recorder);
    FileTraffic traffic = trafficOf(operation);
    folder().setFaults(nullptr);
    FileWork work = recorder.work();
    work.traffic = traffic;
    work.traffic.read -= std::min(work.traffic.read, recorder.bytesRead());
    return work;
}

StepFloor::StepFloor(const std::filesystem::path& scratch, FileWork work)
    : m_dir(scratch), m_work(std::move(work)) {
    std::filesystem::create_directories(m_dir);
    const uint64_t perRead = m_work.reads == 0 ? 0 : m_work.traffic.read / m_work.reads;
    writeAllTo(m_dir / "source", std::string(perRead, 'x'), perRead);
}

double StepFloor::run() const {
    const double start = cpuSeconds();
    const uint64_t perRead = m_work.reads == 0 ? 0 : m_work.traffic.read / m_work.reads;
    const uint64_t changes = m_work.rewrites + m_work.appends;
    const uint64_t perWrite = changes == 0 ? 0 : m_work.traffic.written / changes;
    std::string bytes(std::max(perRead, perWrite), 'x');
    for (uint64_t i = 0; i < m_work.reads; ++i)
        readAllOf(m_dir / "source", bytes);
    const std::string written(perWrite, 'x');
    for (uint64_t i = 0; i < m_work.rewrites; ++i)
        rewriteOnce(m_dir, static_cast<int>(i % FloorTargets), written);
    const auto appended = m_dir / "appended";
    for (uint64_t i = 0; i < m_work.appends; ++i) {
        int fd = ::open(appended.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0)
            throw std::runtime_error("cannot append to " + appended.string());
        [[maybe_unused]] ssize_t n = ::write(fd, written.data(), written.size());
        ::close(fd);
    }
    const std::string journal(64, 'j');
    for (uint64_t i = 0; i < m_work.journals; ++i) {
        rewriteOnce(m_dir, FloorTargets, journal);
        ::unlink((m_dir / ("target" + std::to_string(FloorTargets))).c_str());
    }
    const double seconds = cpuSeconds() - start;
    [[maybe_unused]] int cut = ::truncate(appended.c_str(), 0); // each round appends to the same length
    return seconds;
}

} // namespace sw::bench
