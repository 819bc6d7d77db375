#include "Floor.h"

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

} // namespace sw::bench
