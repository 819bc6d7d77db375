#include "DataFolder.h"
#include "core/Translate.h"

#include "TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace sw {

namespace {

constexpr std::string_view JournalName = "stridewell.journal";
constexpr std::string_view JournalScratch = "stridewell.journal.new";
constexpr std::string_view WriteWord = "write";
constexpr std::string_view AppendWord = "append";
constexpr std::string_view EndWord = "end";

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

int errnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

// An existing file this process may not write is refused, as writing it in place would be,
// although a rename would replace it whatever its permissions.
int refusesWrite(const std::filesystem::path& file) {
    if (::access(file.c_str(), F_OK) == 0 && ::access(file.c_str(), W_OK) != 0)
        return errno;
    return 0;
}

// A rewrite's target must be a file (or a link, which the rename replaces) or absent: a folder
// or a device at its name would make the rename fail after the step's commit.
int refusesReplace(const std::filesystem::path& file) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        return EINVAL;
    return refusesWrite(file);
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
    return refusesWrite(file);
}

// The size of a regular file, or -1 when there is none.
int64_t sizeOf(const std::filesystem::path& file) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return static_cast<int64_t>(st.st_size);
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

// The bytes of the file from `from` to its end (at most `most` of them).
std::string tailOf(const std::filesystem::path& file, int64_t from, int64_t most) {
    std::string bytes(static_cast<std::size_t>(std::max<int64_t>(most, 0)), '\0');
    int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = ::pread(fd, bytes.data() + got, bytes.size() - got, static_cast<off_t>(from) + got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return bytes;
}

// FNV-1a over the journal's entry lines: a journal that was edited, or torn inside a line and
// then given an end by hand, no longer matches its end line.
std::string checksumOf(std::string_view text) {
    uint64_t hash = 0xcbf29ce484222325u;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3u;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
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
    int64_t before = 0; // an append's target size before it
    int64_t after = 0;  // the target's size once the entry is applied
};

std::string journalLine(const JournalEntry& entry) {
    RecordWriter line;
    line.text(entry.append ? AppendWord : WriteWord).text(entry.name);
    if (entry.append)
        line.integer(entry.before);
    line.integer(entry.after);
    return std::move(line).line();
}

std::optional<int64_t> sizeField(std::string_view text) {
    int64_t value = -1;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t at = 0;;) {
        const std::size_t comma = line.find(',', at);
        fields.push_back(line.substr(at, comma == line.npos ? line.npos : comma - at));
        if (comma == line.npos)
            return fields;
        at = comma + 1;
    }
}

// A journal as read back: its entries when it ends with the end line that matches them.
struct ReadJournal {
    enum { Whole, Torn, Wrong } state = Torn;
    std::vector<JournalEntry> entries;
    std::string problem; // what is wrong with one that has its end line
};

ReadJournal parseJournal(std::string_view text) {
    ReadJournal journal;
    // The end line is the last one; a journal cut short anywhere has none, and was never committed.
    const std::string_view body = text.ends_with(LineEnd) ? text.substr(0, text.size() - 2) : text;
    const std::size_t lastStart = body.rfind('\n');
    const std::string_view last = body.substr(lastStart == body.npos ? 0 : lastStart + 1);
    const auto end = fieldsOf(last);
    if (!text.ends_with(LineEnd) || end.size() != 3 || end[0] != EndWord)
        return journal;
    journal.state = ReadJournal::Wrong;
    const std::string_view entries = text.substr(0, lastStart == body.npos ? 0 : lastStart + 1);
    if (end[2] != checksumOf(entries)) {
        journal.problem = _("its checksum does not match its lines");
        return journal;
    }
    for (std::string_view line : splitLines(entries)) {
        const auto f = fieldsOf(line);
        JournalEntry entry;
        entry.append = !f.empty() && f[0] == AppendWord;
        const std::size_t sizes = entry.append ? 2 : 1;
        if (f.size() != 2 + sizes || (!entry.append && f[0] != WriteWord) || !isDataFileName(f[1])) {
            journal.problem = _("a line is not one the game writes");
            return journal;
        }
        entry.name = f[1];
        const auto first = sizeField(f[2]);
        const auto second = sizeField(f.back());
        if (!first || !second || (entry.append && *second < *first)) {
            journal.problem = _("a size is not a size");
            return journal;
        }
        entry.before = entry.append ? *first : 0;
        entry.after = *second;
        journal.entries.push_back(std::move(entry));
    }
    if (sizeField(end[1]) != static_cast<int64_t>(journal.entries.size())) {
        journal.problem = _("its count of lines is wrong");
        return journal;
    }
    journal.state = ReadJournal::Whole;
    return journal;
}

std::string pendingNotice(std::string_view why) {
    return fillIn(
        _("Saved; one file could not be replaced yet ({0}). The game finishes it at the next save or start."),
        why);
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

// Lines added after a text whose last line has no end must not join it.
std::string joined(std::string text, std::string_view lines) {
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        text += LineEnd;
    return text += lines;
}

void FileChanges::take(const FileChanges& later) {
    for (const Change& change : later.m_changes) {
        auto same = std::find_if(m_changes.begin(), m_changes.end(),
                                 [&](const Change& held) { return held.name == change.name; });
        if (same == m_changes.end())
            m_changes.push_back(change);
        else if (change.append)
            same->bytes = joined(std::move(same->bytes), change.bytes);
        else
            *same = change;
    }
}

const FileChanges::Change* FileChanges::find(std::string_view name) const {
    for (const Change& change : m_changes)
        if (change.name == name)
            return &change;
    return nullptr;
}

bool FileChanges::touchesAny(const FileChanges& other) const {
    return std::any_of(m_changes.begin(), m_changes.end(),
                       [&](const Change& change) { return other.find(change.name) != nullptr; });
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

void DataFolder::saw(DiskEvent event, std::string_view name, std::string_view to) const {
    if (m_observer)
        m_observer->saw(event, name, to);
}

void DataFolder::stepDone() const {
    if (m_observer)
        m_observer->stepDone();
    if (m_faults)
        m_faults->stepDone();
}

DataFolder DataFolder::inMemory(MemoryFiles files) {
    DataFolder folder{std::filesystem::path{}};
    folder.m_memory = std::make_shared<MemoryFiles>(std::move(files));
    return folder;
}

// Nothing can fail or be cut short in memory, so every step is whole at once. An append joins
// no open last line, as on disk.
void DataFolder::commitInMemory(const FileChanges& changes) const {
    for (const auto& change : changes.m_changes) {
        std::string& bytes = (*m_memory)[change.name];
        if (!change.append) {
            bytes = change.bytes;
            continue;
        }
        if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r')
            bytes += LineEnd;
        bytes += change.bytes;
    }
}

FileContent DataFolder::read(std::string_view name) const {
    if (m_memory) {
        auto at = m_memory->find(name);
        return at == m_memory->end() ? FileContent{} : FileContent{ReadStatus::Read, at->second};
    }
    const FileChanges::Change* unsaved = m_unsaved.find(name);
    if (unsaved && !unsaved->append)
        return FileContent{ReadStatus::Read, unsaved->bytes};
    FileContent content;
    if (auto held = m_holdingReads ? m_heldReads.find(name) : m_heldReads.end(); held != m_heldReads.end()) {
        content = held->second;
    } else {
        if (m_faults)
            m_faults->beforeRead(name);
        content = readFile(file(name));
        if (m_holdingReads)
            m_heldReads.emplace(std::string(name), content);
    }
    // Lines still to be added come after the file's own, as the append will put them.
    if (unsaved && content.status != ReadStatus::Unreadable)
        content = FileContent{ReadStatus::Read, joined(std::move(content.bytes), unsaved->bytes)};
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
    return FileError{
        fillIn(_("Cannot write {0}: it could not be read, so the game leaves it as it is."), name)};
}

// Writes a new scratch file and puts its bytes on disk: only then may a rename or a journal
// name it.
FileError DataFolder::writeAside(std::string_view scratch, std::string_view name,
                                 std::string_view content) const {
    // A scratch name left by a kill, or planted, is removed rather than opened: unlinking a link
    // removes the link, and the exclusive create never follows one.
    // Only a name that is there is removed: the folder's own scratches are gone after every step.
    const auto path = file(scratch);
    if (int err = before(FileOp::Write, name))
        return writeError(name, err);
    constexpr int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0 && errno == EEXIST && ::unlink(path.c_str()) == 0)
        fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0)
        return writeError(name, errno);
    errno = 0;
    int err = writeAll(fd, content) ? 0 : errnoOr(EIO);
    saw(DiskEvent::Write, scratch);
    if (err == 0 && ::fdatasync(fd) != 0)
        err = errno;
    else if (err == 0)
        saw(DiskEvent::Sync, scratch);
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err != 0) {
        removeIn(scratch);
        return writeError(name, err);
    }
    return {};
}

int DataFolder::renameIn(std::string_view from, std::string_view to) const {
    if (std::rename(file(from).c_str(), file(to).c_str()) != 0)
        return errnoOr(EIO);
    saw(DiskEvent::Rename, from, to);
    return 0;
}

void DataFolder::removeIn(std::string_view name) const {
    if (::unlink(file(name).c_str()) == 0)
        saw(DiskEvent::Remove, name);
}

int DataFolder::syncFile(std::string_view name) const {
    int fd = ::open(file(name).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int err = ::fdatasync(fd) == 0 ? 0 : errnoOr(EIO);
    ::close(fd);
    if (err == 0)
        saw(DiskEvent::Sync, name);
    return err;
}

// Makes the folder's names durable: a rename is only on disk once its folder is synced.
int DataFolder::syncFolder() const {
    int fd = ::open(m_dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int err = ::fsync(fd) == 0 ? 0 : errnoOr(EIO);
    ::close(fd);
    if (err == 0)
        saw(DiskEvent::SyncFolder, {});
    return err;
}

// Cuts the file back to `size`, appends text and puts it on disk: a replay after a kill gives
// the same file.
int DataFolder::appendTo(std::string_view name, int64_t size, std::string_view text) const {
    int fd = ::open(file(name).c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0)
        return errno;
    struct stat st {};
    errno = 0;
    int err = 0;
    if (::fstat(fd, &st) != 0 || (st.st_size > size && ::ftruncate(fd, static_cast<off_t>(size)) != 0) ||
        ::lseek(fd, 0, SEEK_END) < 0 || !writeAll(fd, text))
        err = errnoOr(EIO);
    saw(DiskEvent::Append, name);
    if (err == 0 && ::fdatasync(fd) != 0)
        err = errnoOr(EIO);
    else if (err == 0)
        saw(DiskEvent::Sync, name);
    if (::close(fd) != 0 && err == 0)
        err = errno;
    return err;
}

FileError DataFolder::write(std::string_view name, std::string_view content) const {
    forgetRead(name);
    if (unsaved())
        return commit(FileChanges().write(std::string(name), std::string(content))).refused;
    if (FileError refused = unreadRefusal(name))
        return refused;
    if (m_memory) {
        (*m_memory)[std::string(name)] = std::string(content);
        return {};
    }
    // A step waiting in the journal goes first: its scratch copy of this file must not land on
    // top of the newer content later.
    if (pending())
        if (StepOutcome finished = finish(false))
            return finished.refused;
    if (alreadyHolds(file(name), content))
        return {};
    if (int err = refusesReplace(file(name)))
        return writeError(name, err);
    const std::string scratch = scratchName(name, false);
    if (FileError error = writeAside(scratch, name, content))
        return error;
    int err = before(FileOp::Rename, name);
    if (err == 0)
        err = renameIn(scratch, name);
    if (err != 0) {
        removeIn(scratch);
        return writeError(name, err);
    }
    // The new name is on disk only once the folder is; a failure here leaves the new file in
    // place, where the next sync of the folder puts it on disk.
    [[maybe_unused]] int unsynced = syncFolder();
    stepDone();
    return {};
}

bool DataFolder::pending() const {
    if (m_memory)
        return false;
    return ::access(file(JournalName).c_str(), F_OK) == 0;
}

StepOutcome DataFolder::commit(const FileChanges& requested) const {
    if (m_unsaved.empty())
        return commitNow(requested);
    FileChanges all = m_unsaved;
    all.take(requested);
    StepOutcome outcome = commitNow(all);
    if (!outcome.refused) {
        m_unsaved = FileChanges();
        return outcome;
    }
    // What was kept may be what cannot be written (a blocked file): a step of other files still
    // goes in on its own. One that shares a file with it was worked out on top of the kept changes.
    if (!requested.empty() && !requested.touchesAny(m_unsaved))
        return commitNow(requested);
    return outcome;
}

StepOutcome DataFolder::carry(const FileChanges& changes) const {
    StepOutcome outcome = commit(changes);
    // A file the day could not read is never written: a step that holds one is refused, not kept.
    if (!outcome.refused || std::any_of(changes.m_changes.begin(), changes.m_changes.end(),
                                        [&](const auto& change) { return unreadRefusal(change.name); }))
        return outcome;
    m_unsaved.take(changes);
    std::string& message = outcome.refused.message;
    message += message.ends_with('.') ? " " : ". ";
    message += _("The game keeps what it could not save and saves it with the next step.");
    return outcome;
}

StepOutcome DataFolder::commitNow(const FileChanges& requested) const {
    StepOutcome outcome;
    if (requested.empty())
        return outcome;
    for (const auto& change : requested.m_changes)
        forgetRead(change.name);
    for (const auto& change : requested.m_changes)
        if (FileError refused = unreadRefusal(change.name)) {
            outcome.refused = std::move(refused);
            return outcome;
        }
    if (m_memory) {
        commitInMemory(requested);
        return outcome;
    }
    // A step still waiting from an earlier failure is finished first; the journal holds one.
    if (pending()) {
        outcome = finish(false);
        if (outcome.refused)
            return outcome;
    }
    // Rewrites that would change no byte are left out: each costs a scratch file, syncs and a rename.
    FileChanges changes;
    for (const auto& change : requested.m_changes)
        if (change.append || !alreadyHolds(file(change.name), change.bytes))
            changes.m_changes.push_back(change);
    if (changes.empty())
        return outcome;

    // Every target is checked before anything is written: after the commit nothing may refuse.
    std::vector<JournalEntry> entries(changes.m_changes.size());
    std::vector<std::string> asides(
        changes.m_changes.size()); // an append's text, with a line end first when needed
    for (std::size_t i = 0; i < changes.m_changes.size(); ++i) {
        const auto& change = changes.m_changes[i];
        const auto target = file(change.name);
        JournalEntry& entry = entries[i];
        entry.append = change.append;
        entry.name = change.name;
        off_t size = 0;
        bool existed = false;
        int err = change.append ? sizeBefore(target, size, existed) : refusesReplace(target);
        if (err != 0) {
            outcome.refused = writeError(change.name, err);
            return outcome;
        }
        if (change.append) {
            entry.before = static_cast<int64_t>(size);
            if (lastLineOpen(target, size))
                asides[i] = std::string(LineEnd) + change.bytes;
            entry.after =
                entry.before + static_cast<int64_t>((asides[i].empty() ? change.bytes : asides[i]).size());
        } else {
            entry.after = static_cast<int64_t>(change.bytes.size());
        }
    }

    std::vector<std::string> scratches;
    auto dropScratches = [&] {
        for (const auto& scratch : scratches)
            removeIn(scratch);
    };
    std::string journal;
    for (std::size_t i = 0; i < changes.m_changes.size(); ++i) {
        const auto& change = changes.m_changes[i];
        scratches.push_back(scratchName(change.name, change.append));
        if (FileError error =
                writeAside(scratches.back(), change.name, asides[i].empty() ? change.bytes : asides[i])) {
            scratches.pop_back();
            dropScratches();
            outcome.refused = std::move(error);
            return outcome;
        }
        journal += journalLine(entries[i]);
    }
    journal += RecordWriter()
                   .text(EndWord)
                   .integer(static_cast<int64_t>(entries.size()))
                   .text(checksumOf(journal))
                   .line();

    // The commit: once the journal has its name, the step is made whole, now or at the next start.
    FileError error = writeAside(JournalScratch, JournalName, journal);
    if (!error) {
        int err = before(FileOp::Rename, JournalName);
        if (err == 0)
            err = renameIn(JournalScratch, JournalName);
        if (err != 0) {
            removeIn(JournalScratch);
            error = writeError(JournalName, err);
        }
    }
    if (error) {
        dropScratches();
        outcome.refused = std::move(error);
        return outcome;
    }
    // From here the step is done. No file of it changes before the journal is on disk; what
    // cannot be put in place waits in the journal.
    auto wait = [&](std::string_view name, int err) {
        outcome.pending = true;
        outcome.notice = pendingNotice(writeError(name, err).message);
        return outcome;
    };
    if (int err = syncFolder())
        return wait(JournalName, err);
    // Appends, then renames.
    bool renamed = false;
    for (const bool appends : {true, false})
        for (std::size_t i = 0; i < changes.m_changes.size(); ++i) {
            const auto& change = changes.m_changes[i];
            if (change.append != appends)
                continue;
            int err = before(change.append ? FileOp::Append : FileOp::Rename, change.name);
            if (err == 0 && change.append)
                err = appendTo(change.name, entries[i].before, asides[i].empty() ? change.bytes : asides[i]);
            else if (err == 0)
                err = renameIn(scratchName(change.name, false), change.name);
            if (err != 0)
                return wait(change.name, err);
            // An append that made its file needs the folder synced as a rename does.
            renamed = renamed || !change.append || entries[i].before == 0;
        }
    if (renamed)
        if (int err = syncFolder())
            return wait(changes.m_changes.front().name, err);
    removeIn(JournalName);
    dropScratches();
    stepDone();
    return outcome;
}

// Finishes the step the journal names, after checking that every file it names is as the step
// left it; at the start of a day, also clears what a kill left aside.
StepOutcome DataFolder::finish(bool atStart) const {
    m_heldReads.clear();
    StepOutcome outcome;
    FileContent text = readFile(file(JournalName));
    if (text.status == ReadStatus::Unreadable) {
        outcome.refused = FileError{fillIn(_("Cannot read {0}"), JournalName)};
        return outcome;
    }
    bool stepped = false;
    if (text.read()) {
        const ReadJournal journal = parseJournal(text.bytes);
        auto refuse = [&](std::string why) {
            outcome.refused =
                FileError{fillIn(_("{0} does not match the data files: {1}. The game leaves every file "
                                   "as it is: restore the folder from a copy, or remove {0} to keep "
                                   "the files as they are."),
                                 JournalName, why)};
            return outcome;
        };
        if (journal.state == ReadJournal::Wrong)
            return refuse(journal.problem);
        if (journal.state == ReadJournal::Torn) {
            // Cut short before its end line: the step was never committed, and none of its files changed.
            outcome.notice =
                fillIn(_("An unfinished save was dropped ({0} has no end line): its files are as they "
                         "were before it."),
                       JournalName);
        } else {
            // Every file is checked before any is touched.
            std::vector<std::string> appendText(journal.entries.size());
            for (std::size_t i = 0; i < journal.entries.size(); ++i) {
                const JournalEntry& entry = journal.entries[i];
                const auto scratch = file(scratchName(entry.name, entry.append));
                const int64_t scratchSize = sizeOf(scratch);
                const int64_t targetSize = sizeOf(file(entry.name));
                auto sizes = [&] {
                    const int64_t size = std::max<int64_t>(targetSize, 0);
                    return entry.append ? fillIn(_("{0} is {1} bytes where the journal has {2} to {3}"),
                                                 entry.name, size, entry.before, entry.after)
                                        : fillIn(_("{0} is {1} bytes where the journal has {2}"), entry.name,
                                                 size, entry.after);
                };
                if (!entry.append) {
                    if (scratchSize < 0 ? targetSize != entry.after : scratchSize != entry.after)
                        return refuse(scratchSize < 0
                                          ? sizes()
                                          : fillIn(_("{0} is cut short"), scratchName(entry.name, false)));
                    continue;
                }
                if (scratchSize < 0) {
                    if (targetSize != entry.after)
                        return refuse(sizes());
                    continue; // applied and cleared
                }
                FileContent aside = readFile(scratch);
                if (!aside.read() || static_cast<int64_t>(aside.bytes.size()) != entry.after - entry.before)
                    return refuse(
                        fillIn(_("{0} is not the text the journal names"), scratchName(entry.name, true)));
                // Between its two sizes the file may be, with the step's own bytes past the first.
                const int64_t target = std::max<int64_t>(targetSize, 0);
                if (target < entry.before || target > entry.after ||
                    tailOf(file(entry.name), entry.before, target - entry.before) !=
                        std::string_view(aside.bytes)
                            .substr(0, static_cast<std::size_t>(target - entry.before)))
                    return refuse(sizes());
                appendText[i] = std::move(aside.bytes);
            }
            // A journal a kill left, and the copies it names, may not be on disk yet: they are,
            // before any file changes.
            int err = syncFile(JournalName);
            for (const JournalEntry& entry : journal.entries)
                if (err == 0 && !entry.append && sizeOf(file(scratchName(entry.name, false))) >= 0)
                    err = syncFile(scratchName(entry.name, false));
            if (err == 0)
                err = syncFolder();
            if (err != 0) {
                outcome.refused = writeError(JournalName, err);
                return outcome;
            }
            for (std::size_t i = 0; i < journal.entries.size(); ++i) {
                const JournalEntry& entry = journal.entries[i];
                const std::string scratch = scratchName(entry.name, entry.append);
                if (entry.append && appendText[i].empty())
                    continue;
                if (!entry.append && sizeOf(file(scratch)) < 0)
                    continue; // already in place
                err = before(entry.append ? FileOp::Append : FileOp::Rename, entry.name);
                if (err == 0)
                    err = entry.append ? appendTo(entry.name, entry.before, appendText[i])
                                       : renameIn(scratch, entry.name);
                if (err != 0) {
                    outcome.refused = writeError(entry.name, err);
                    return outcome;
                }
            }
            if (int failed = syncFolder()) {
                outcome.refused = writeError(JournalName, failed);
                return outcome;
            }
        }
        removeIn(JournalName);
        for (const JournalEntry& entry : journal.entries)
            if (entry.append)
                removeIn(scratchName(entry.name, true));
        stepped = true;
    }
    if (atStart) {
        // What is left aside belongs to no committed step.
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(m_dir, ec)) {
            const std::string name = entry.path().filename().string();
            const std::string_view stem =
                std::string_view(name).substr(0, name.size() < 4 ? 0 : name.size() - 4);
            const bool aside = name.ends_with(".new") || name.ends_with(".add");
            if (aside && (isDataFileName(stem) || stem == JournalName))
                removeIn(name);
        }
    }
    if (stepped)
        stepDone();
    return outcome;
}

StepOutcome DataFolder::recover() const {
    if (m_memory)
        return {};
    return finish(true);
}

} // namespace sw
