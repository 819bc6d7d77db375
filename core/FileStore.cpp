#include "FileStore.h"

#include <cerrno>
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

} // namespace

bool forEachLine(const std::filesystem::path& file, const std::function<void(std::string_view)>& onLine) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return false;
    std::string line;
    bool overlong = false;
    bool pendingCr = false;
    char buf[1 << 16];
    std::size_t n;
    auto finishLine = [&]() {
        onLine(line);
        line.clear();
        overlong = false;
    };
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            char c = buf[i];
            if (pendingCr) {
                pendingCr = false;
                if (c == '\n')
                    continue;
            }
            if (c == '\r' || c == '\n') {
                finishLine();
                pendingCr = c == '\r';
            } else if (!overlong) {
                if (line.size() < MaxLineLength)
                    line.push_back(c);
                else
                    overlong = true;
            }
        }
    }
    if (!line.empty())
        finishLine();
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
