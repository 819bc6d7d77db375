#include "DataFolder.h"

#include "TextEncoding.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

namespace {

constexpr std::string_view JournalName = "stridewell.journal";
constexpr std::string_view WriteWord = "write";
constexpr std::string_view AppendWord = "append";

std::string scratchName(std::string_view name, bool append) {
    return std::string(name) + (append ? ".add" : ".new");
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// An existing file this process may not write is refused, as writing it in place would be,
// although a rename would replace it whatever its permissions.
int refusesWrite(const std::filesystem::path& file) {
    if (::access(file.c_str(), F_OK) == 0 && ::access(file.c_str(), W_OK) != 0)
        return errno;
    return 0;
}

// The size a file has before an append: 0 when there is none. A link is refused: appends never
// write through one.
int sizeBefore(const std::filesystem::path& file, off_t& size, bool& existed) {
    struct stat st {};
    size = 0;
    existed = false;
    if (::lstat(file.c_str(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (!S_ISREG(st.st_mode))
        return S_ISLNK(st.st_mode) ? ELOOP : EISDIR;
    size = st.st_size;
    existed = true;
    return 0;
}

// True when the file's last byte ends no line: an appended record must not join that line.
bool lastLineOpen(const std::filesystem::path& file, off_t size) {
    if (size == 0)
        return false;
    int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    char last = '\n';
    const bool open = ::pread(fd, &last, 1, size - 1) == 1 && last != '\n' && last != '\r';
    ::close(fd);
    return open;
}

// Cuts the file back to `size` and appends text: a replay after a kill gives the same file.
int appendAt(const std::filesystem::path& file, off_t size, std::string_view lead, std::string_view text) {
    int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    struct stat st {};
    int err = 0;
    if (::fstat(fd, &st) != 0 || (st.st_size > size && ::ftruncate(fd, size) != 0) ||
        ::lseek(fd, 0, SEEK_END) < 0 || !writeAll(fd, lead) || !writeAll(fd, text))
        err = errno != 0 ? errno : EIO;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    return err;
}

void undoAppend(const std::filesystem::path& file, off_t size, bool existed) {
    if (!existed) {
        ::unlink(file.c_str());
        return;
    }
    int fd = ::open(file.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    [[maybe_unused]] int ignored = ::ftruncate(fd, size);
    ::close(fd);
}

// True when the file already holds exactly `content`: rewriting it would change no byte, so the
// step leaves it alone. Only a regular file this process may write counts (a refused write stays
// refused), and only a small one of the same size is read to compare: a bigger file rewritten is
// nearly always changed, and reading it first would only add to the cost.
constexpr std::size_t CompareLimit = 4096;

bool alreadyHolds(const std::filesystem::path& file, std::string_view content) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) != content.size() || ::access(file.c_str(), W_OK) != 0)
        return false;
    if (content.empty())
        return true;
    if (content.size() > CompareLimit)
        return false;
    const FileContent now = readFile(file);
    return now.read() && now.bytes == content;
}

struct JournalEntry {
    bool append = false;
    std::string name;
    off_t size = 0;
};

// The journal's lines, or nothing when one of them is not what the game writes.
std::optional<std::vector<JournalEntry>> parseJournal(std::string_view text) {
    std::vector<JournalEntry> entries;
    bool valid = true;
    forEachLineIn(text, [&](std::string_view line) {
        if (line.empty() || !valid)
            return;
        FieldReader r(line);
        std::string word;
        JournalEntry entry;
        r.read(word);
        r.read(entry.name);
        if (word == AppendWord) {
            int64_t size = -1;
            r.read(size);
            entry.append = true;
            entry.size = static_cast<off_t>(size);
            valid = size >= 0;
        } else {
            valid = word == WriteWord;
        }
        valid = valid && isDataFileName(entry.name);
        entries.push_back(std::move(entry));
    });
    if (!valid)
        return std::nullopt;
    return entries;
}

} // namespace

FileChanges& FileChanges::write(std::string name, std::string content) {
    m_changes.push_back({false, std::move(name), std::move(content)});
    return *this;
}

FileChanges& FileChanges::append(std::string name, std::string text) {
    if (!text.empty())
        m_changes.push_back({true, std::move(name), std::move(text)});
    return *this;
}

bool isDataFileName(std::string_view name) {
    const auto dot = name.find('.');
    if (dot == 0 || dot == std::string_view::npos)
        return false;
    for (char c : name.substr(0, dot))
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    const std::string_view ext = name.substr(dot);
    return ext == ".dat" || ext == ".tmp";
}

DataFolder::DataFolder(std::filesystem::path dir) : m_dir(std::move(dir)) {}

int DataFolder::before(FileOp op, std::string_view name) const {
    return m_faults ? m_faults->before(op, name) : 0;
}

void DataFolder::stepDone() const {
    if (m_faults)
        m_faults->stepDone();
}

FileContent DataFolder::read(std::string_view name) const {
    if (m_holdingReads)
        if (auto held = m_heldReads.find(name); held != m_heldReads.end())
            return held->second;
    if (m_faults && m_faults->beforeRead(name) != 0)
        return FileContent{ReadStatus::Unreadable, {}};
    FileContent content = readFile(file(name));
    if (m_holdingReads)
        m_heldReads.emplace(std::string(name), content);
    return content;
}

void DataFolder::forgetRead(std::string_view name) const {
    if (auto held = m_heldReads.find(name); held != m_heldReads.end())
        m_heldReads.erase(held);
}

void DataFolder::noteLoad(std::string_view name, ReadStatus status) {
    auto at = m_loads.find(name);
    if (at == m_loads.end())
        m_loads.emplace(std::string(name), status);
    else
        at->second = status;
}

std::optional<ReadStatus> DataFolder::loaded(std::string_view name) const {
    auto at = m_loads.find(name);
    if (at == m_loads.end())
        return std::nullopt;
    return at->second;
}

FileError DataFolder::unreadRefusal(std::string_view name) const {
    if (loaded(name) != ReadStatus::Unreadable)
        return {};
    return FileError{"Cannot write " + std::string(name) +
                     ": it could not be read, so the game leaves it as it is."};
}

FileError DataFolder::writeAside(const std::filesystem::path& scratch, std::string_view name,
                                 std::string_view content) const {
    if (int err = before(FileOp::Write, name))
        return writeError(name, err);
    // A scratch name left by a kill, or planted, is removed rather than opened: unlinking a link
    // removes the link, and the exclusive create never follows one. Only a name that is there is
    // removed: the folder's own scratches are gone after every step.
    constexpr int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(scratch.c_str(), flags, 0644);
    if (fd < 0 && errno == EEXIST && ::unlink(scratch.c_str()) == 0)
        fd = ::open(scratch.c_str(), flags, 0644);
    if (fd < 0)
        return writeError(name, errno);
    int err = writeAll(fd, content) ? 0 : (errno != 0 ? errno : EIO);
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err != 0) {
        ::unlink(scratch.c_str());
        return writeError(name, err);
    }
    return {};
}

FileError DataFolder::write(std::string_view name, std::string_view content) const {
    forgetRead(name);
    if (FileError refused = unreadRefusal(name))
        return refused;
    const auto target = file(name);
    if (alreadyHolds(target, content))
        return {};
    if (int err = refusesWrite(target))
        return writeError(name, err);
    const auto scratch = file(scratchName(name, false));
    if (FileError error = writeAside(scratch, name, content))
        return error;
    int err = before(FileOp::Rename, name);
    if (err == 0 && std::rename(scratch.c_str(), target.c_str()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(scratch.c_str());
        return writeError(name, err);
    }
    stepDone();
    return {};
}

FileError DataFolder::commit(const FileChanges& requested) const {
    if (requested.empty())
        return {};
    for (const auto& change : requested.m_changes)
        forgetRead(change.name);
    for (const auto& change : requested.m_changes)
        if (FileError refused = unreadRefusal(change.name))
            return refused;
    // A step still waiting from an earlier failure is finished first; the journal holds one.
    if (m_journalMayBeLeft)
        if (FileError error = recover())
            return error;
    // Rewrites that would change no byte are left out: each costs a scratch file and a rename.
    FileChanges changes;
    for (const auto& change : requested.m_changes)
        if (change.append || !alreadyHolds(file(change.name), change.bytes))
            changes.m_changes.push_back(change);
    if (changes.empty())
        return {};

    struct Appended {
        off_t size = 0;
        bool existed = false;
        std::string_view lead; // a line end first when the file's last line is open
    };
    std::vector<Appended> appended(changes.m_changes.size());
    std::vector<std::filesystem::path> scratches;
    auto dropScratches = [&] {
        for (const auto& scratch : scratches)
            ::unlink(scratch.c_str());
    };
    std::string journal;
    for (std::size_t i = 0; i < changes.m_changes.size(); ++i) {
        const auto& change = changes.m_changes[i];
        const auto target = file(change.name);
        int err =
            change.append ? sizeBefore(target, appended[i].size, appended[i].existed) : refusesWrite(target);
        if (err != 0) {
            dropScratches();
            return writeError(change.name, err);
        }
        scratches.push_back(file(scratchName(change.name, change.append)));
        if (change.append && lastLineOpen(target, appended[i].size))
            appended[i].lead = LineEnd;
        const std::string aside =
            appended[i].lead.empty() ? std::string() : std::string(appended[i].lead) + change.bytes;
        if (FileError error =
                writeAside(scratches.back(), change.name, aside.empty() ? change.bytes : aside)) {
            scratches.pop_back();
            dropScratches();
            return error;
        }
        RecordWriter line;
        line.text(change.append ? AppendWord : WriteWord).text(change.name);
        if (change.append)
            line.integer(static_cast<int64_t>(appended[i].size));
        journal += line.line();
    }

    // The commit: once the journal has its name, the step is made whole, now or at the next start.
    const auto journalFile = file(JournalName);
    const auto journalScratch = file(std::string(JournalName) + ".new");
    FileError error = writeAside(journalScratch, JournalName, journal);
    m_journalMayBeLeft = true;
    if (!error) {
        int err = before(FileOp::Rename, JournalName);
        if (err == 0 && std::rename(journalScratch.c_str(), journalFile.c_str()) != 0)
            err = errno;
        if (err != 0) {
            ::unlink(journalScratch.c_str());
            error = writeError(JournalName, err);
        }
    }
    if (error) {
        dropScratches();
        return error;
    }

    // Appends first: they are what a full disk refuses, and they can still be undone.
    for (std::size_t i = 0; i < changes.m_changes.size(); ++i) {
        const auto& change = changes.m_changes[i];
        if (!change.append)
            continue;
        int err = before(FileOp::Append, change.name);
        if (err == 0)
            err = appendAt(file(change.name), appended[i].size, appended[i].lead, change.bytes);
        if (err != 0) {
            for (std::size_t j = 0; j <= i; ++j)
                if (changes.m_changes[j].append)
                    undoAppend(file(changes.m_changes[j].name), appended[j].size, appended[j].existed);
            ::unlink(journalFile.c_str());
            dropScratches();
            return writeError(change.name, err);
        }
    }
    // The rewrites' scratches are renamed away below; only the appends' are left to remove.
    std::vector<std::filesystem::path> appendScratches;
    for (std::size_t i = 0; i < changes.m_changes.size(); ++i)
        if (changes.m_changes[i].append)
            appendScratches.push_back(file(scratchName(changes.m_changes[i].name, true)));
    for (std::size_t i = 0; i < changes.m_changes.size(); ++i) {
        const auto& change = changes.m_changes[i];
        if (change.append)
            continue;
        int err = before(FileOp::Rename, change.name);
        const auto scratch = file(scratchName(change.name, false));
        if (err == 0 && std::rename(scratch.c_str(), file(change.name).c_str()) != 0)
            err = errno;
        // The journal stays: the next step or the next start moves the rest into place.
        if (err != 0)
            return writeError(change.name, err);
    }
    ::unlink(journalFile.c_str());
    m_journalMayBeLeft = false;
    for (const auto& scratch : appendScratches)
        ::unlink(scratch.c_str());
    stepDone();
    return {};
}

FileError DataFolder::replay(std::string_view journal) const {
    auto entries = parseJournal(journal);
    if (!entries)
        return {}; // not a journal this game wrote: the step it names is dropped
    for (const JournalEntry& entry : *entries) {
        const auto target = file(entry.name);
        const auto scratch = file(scratchName(entry.name, entry.append));
        if (entry.append) {
            FileContent text = readFile(scratch);
            if (!text.read())
                continue; // already applied and cleared
            int err = before(FileOp::Append, entry.name);
            if (err == 0)
                err = appendAt(target, entry.size, {}, text.bytes);
            if (err != 0)
                return writeError(entry.name, err);
        } else if (::access(scratch.c_str(), F_OK) == 0) {
            int err = before(FileOp::Rename, entry.name);
            if (err == 0 && std::rename(scratch.c_str(), target.c_str()) != 0)
                err = errno;
            if (err != 0)
                return writeError(entry.name, err);
        }
    }
    return {};
}

FileError DataFolder::recover() const {
    m_heldReads.clear();
    const auto journalFile = file(JournalName);
    FileContent journal = readFile(journalFile);
    if (journal.status == ReadStatus::Unreadable)
        return FileError{"Cannot read " + std::string(JournalName)};
    if (journal.read()) {
        if (FileError error = replay(journal.bytes))
            return error;
        ::unlink(journalFile.c_str());
    }
    // What is left aside belongs to no committed step.
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir, ec)) {
        const std::string name = entry.path().filename().string();
        const std::string_view stem = std::string_view(name).substr(0, name.size() < 4 ? 0 : name.size() - 4);
        const bool aside = name.ends_with(".new") || name.ends_with(".add");
        if (aside && (isDataFileName(stem) || stem == JournalName))
            ::unlink(entry.path().c_str());
    }
    m_journalMayBeLeft = false;
    if (journal.read())
        stepDone();
    return {};
}

} // namespace sw
