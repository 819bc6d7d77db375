#include "FuzzSupport.h"

#include "core/FileStore.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace sw::fuzz {

namespace fs = std::filesystem;

void require(bool holds, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "broken property: %s\n", property);
    std::abort();
}

FuzzFolder::FuzzFolder() {
    // Memory-backed storage when there is some: a fuzz run rewrites the folder thousands of times.
    std::error_code ec;
    fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
    m_path = base / ("stridewell-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(m_path);
    for (const auto& entry : fs::directory_iterator(STRIDEWELL_BUNDLED_DATA)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        m_bundled.emplace_back(entry.path().filename().string(), content.str());
    }
    reset();
}

FuzzFolder::~FuzzFolder() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

void FuzzFolder::reset() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(m_path, ec))
        fs::remove_all(entry.path(), ec);
    for (const auto& [name, content] : m_bundled)
        write(name, content);
}

void FuzzFolder::write(std::string_view name, std::string_view content) const {
    writeFileAtomic(m_path / name, content);
}

} // namespace sw::fuzz
