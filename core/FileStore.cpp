#include "FileStore.h"
#include "core/Translate.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

namespace {

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

FileError writeError(std::string_view name, int err) {
    return FileError{fillIn(_("Cannot write {0}: {1}"), name, std::string_view(std::strerror(err)))};
}

FileContent readFile(const std::filesystem::path& file) {
    FileContent content;
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        content.status = errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
        return content;
    }
    content.status = ReadStatus::Unreadable;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uint64_t>(st.st_size) <= MaxFileSize) {
        content.bytes.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        bool failed = false;
        // A file that grows while it is read is read to its end, within the limit.
        for (;;) {
            if (got == content.bytes.size()) {
                if (content.bytes.size() >= MaxFileSize)
                    break;
                content.bytes.resize(std::min(MaxFileSize, content.bytes.size() + 4096));
            }
            ssize_t n = ::read(fd, content.bytes.data() + got, content.bytes.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                failed = true;
                break;
            }
            if (n == 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        content.bytes.resize(got);
        if (!failed)
            content.status = ReadStatus::Read;
    }
    ::close(fd);
    if (!content.read())
        content.bytes.clear();
    return content;
}

void forEachLineIn(std::string_view text, const std::function<void(std::string_view)>& onLine) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* eol = lineEndIn(p, end);
        onLine(std::string_view(p, std::min(MaxLineLength, static_cast<std::size_t>(eol - p))));
        if (eol == end)
            break;
        p = eol + 1;
        if (*eol == '\r' && p < end && *p == '\n')
            ++p;
    }
}

FileError writeFileAtomic(const std::filesystem::path& file, std::string_view content) {
    const std::string name = file.filename().string();
    // The rename below would replace a file whatever its permissions; a file this process may not
    // write (read-only, or locked away by the player) is refused as writing it in place would be.
    if (::access(file.c_str(), F_OK) == 0 && ::access(file.c_str(), W_OK) != 0)
        return writeError(name, errno);
    std::filesystem::path temp = file;
    temp += ".new";
    // A scratch name left by a crash, or planted, is removed rather than opened: unlinking a link
    // removes the link, and the exclusive create never follows one.
    ::unlink(temp.c_str());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return writeError(name, errno);
    // The bytes go to disk before the rename names them, and the folder after it: a power cut
    // then leaves the old file or the new one, never an empty one.
    if (!writeAll(fd, content) || ::fdatasync(fd) != 0) {
        int err = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return writeError(name, err);
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        return writeError(name, err);
    }
    if (std::rename(temp.c_str(), file.c_str()) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        return writeError(name, err);
    }
    // The file is in place either way; a folder that cannot be synced is synced by the next save.
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    if (int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        [[maybe_unused]] int unsynced = ::fsync(dir);
        ::close(dir);
    }
    return {};
}

} // namespace sw
