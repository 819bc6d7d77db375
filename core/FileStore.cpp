#include "FileStore.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace sw {

namespace {

FileError errorFor(const std::filesystem::path& file, int err) {
    return FileError{"Cannot write " + file.filename().string() + ": " + std::strerror(err)};
}

bool writeAll(int fd, std::string_view content) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// The first CR or LF in [from, to), or `to`. Lines are short, so eight bytes are looked at a
// time in a plain word rather than with a library search per character looked for.
const char* lineEndIn(const char* from, const char* to) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t ones = 0x0101010101010101u;
        constexpr uint64_t highs = 0x8080808080808080u;
        while (to - from >= 8) {
            uint64_t word;
            std::memcpy(&word, from, sizeof word);
            const uint64_t cr = word ^ (ones * '\r');
            const uint64_t lf = word ^ (ones * '\n');
            // The high bit of each zero byte, and maybe of bytes after it: the lowest is exact.
            const uint64_t hits = (((cr - ones) & ~cr) | ((lf - ones) & ~lf)) & highs;
            if (hits != 0)
                return from + std::countr_zero(hits) / 8;
            from += 8;
        }
    }
    while (from < to && *from != '\r' && *from != '\n')
        ++from;
    return from;
}

} // namespace

bool forEachLine(const std::filesystem::path& file, const std::function<void(std::string_view)>& onLine) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return false;
    // Lines are handed over straight from the read buffer; only a line that runs past the end of
    // one read is gathered in `carried`, and that never beyond MaxLineLength.
    std::string carried;
    auto carry = [&](const char* from, const char* to) {
        const std::size_t room = MaxLineLength - carried.size();
        carried.append(from, std::min(room, static_cast<std::size_t>(to - from)));
    };
    bool pendingCr = false; // the last read ended on a CR, so an LF first in the next one is its pair
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        const char* p = buf;
        const char* const end = buf + n;
        if (pendingCr && *p == '\n')
            ++p;
        pendingCr = false;
        while (p < end) {
            const char* eol = lineEndIn(p, end);
            if (eol == end) {
                carry(p, end);
                break;
            }
            if (carried.empty()) {
                onLine(std::string_view(p, std::min(MaxLineLength, static_cast<std::size_t>(eol - p))));
            } else {
                carry(p, eol);
                onLine(carried);
                carried.clear();
            }
            p = eol + 1;
            if (*eol == '\r') {
                if (p == end)
                    pendingCr = true;
                else if (*p == '\n')
                    ++p;
            }
        }
    }
    if (!carried.empty())
        onLine(carried);
    // A read that failed part way (a folder in the file's place, an I/O error) is no whole file.
    bool complete = !std::ferror(f);
    std::fclose(f);
    return complete;
}

bool isReadable(const std::filesystem::path& file) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return false;
    std::fclose(f);
    return true;
}

FileError writeFileAtomic(const std::filesystem::path& file, std::string_view content) {
    // The rename below would replace a file whatever its permissions; a file this process may not
    // write (read-only, or locked away by the player) is refused as writing it in place would be.
    if (::access(file.c_str(), F_OK) == 0 && ::access(file.c_str(), W_OK) != 0)
        return errorFor(file, errno);
    std::filesystem::path temp = file;
    temp += ".new";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errorFor(file, errno);
    // No fsync: rename alone keeps a killed game from leaving a torn file, and ext4 orders
    // a rename-over after the new data; a sync per save would slow every race's update.
    if (!writeAll(fd, content)) {
        int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return errorFor(file, err);
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        return errorFor(file, err);
    }
    if (std::rename(temp.c_str(), file.c_str()) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        return errorFor(file, err);
    }
    return {};
}

FileError appendToFile(const std::filesystem::path& file, std::string_view text) {
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return errorFor(file, errno);
    bool ok = writeAll(fd, text);
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    return ok ? FileError{} : errorFor(file, err);
}

FileError truncateFile(const std::filesystem::path& file) {
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return errorFor(file, errno);
    ::close(fd);
    return {};
}

} // namespace sw
