#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

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

} // namespace sw::bench
