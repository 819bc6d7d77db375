#pragma once

#include "FileStore.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// What a change to the data folder is about to do; a FileFaults sees each one first.
enum class FileOp { Write, Rename, Append };

// Lets a test fail the folder's writes, renames and appends, or stop the game in the middle of
// one (by throwing), to prove every step leaves each file before or after it; reads are only seen.
class FileFaults {
public:
    virtual ~FileFaults() = default;
    // 0 to go on, or the errno value the operation fails with.
    virtual int before(FileOp op, std::string_view name) = 0;
    // A file is about to be read from the disk (a read the folder holds is not).
    virtual void beforeRead(std::string_view) {}
    // Every step that changed files is over (the folder is as the step leaves it).
    virtual void stepDone() {}
};

// What the folder does to the disk, in order, as a crash-test file system would log it: a test
// checks from it that nothing is renamed before its bytes are on disk, that a step's journal is
// on disk before any of its files changes, and that those files are on disk before the journal
// goes. Names are file names in the folder; the folder itself is the empty name.
enum class DiskEvent {
    Write,      // bytes written to a new file
    Append,     // a file cut back to a size and bytes added
    Sync,       // a file's bytes made durable
    SyncFolder, // the folder's names made durable
    Rename,     // name moved to `to`
    Remove,     // name removed
};

class DiskObserver {
public:
    virtual ~DiskObserver() = default;
    virtual void saw(DiskEvent event, std::string_view name, std::string_view to) = 0;
    virtual void stepDone() {}
};

// How a step went. Refused: nothing changed (refused says why). Otherwise the step is done: a
// file it could not put in place yet is finished at the next step or start (pending), and
// notice says what the player should know. Converts to the refusal, so `if (FileError e = ...)`
// reads as "nothing was changed".
struct StepOutcome {
    FileError refused;
    bool pending = false;
    std::string notice;

    explicit operator bool() const { return static_cast<bool>(refused); }
    operator FileError() const { return refused; }
};

// The files one step changes together: whole-file rewrites and appends of whole lines.
class FileChanges {
public:
    FileChanges& write(std::string name, std::string content);
    FileChanges& append(std::string name, std::string text);
    bool empty() const { return m_changes.empty(); }

private:
    friend class DataFolder;
    struct Change {
        bool append = false;
        std::string name;
        std::string bytes;
    };
    // Adds a later step's changes on top of these, one change a file: a rewrite replaces what
    // came before for its file, an append adds its lines to it.
    void take(const FileChanges& later);
    const Change* find(std::string_view name) const;
    bool touchesAny(const FileChanges& other) const;
    std::vector<Change> m_changes;
};

// The game's data folder. Reads hand back bytes; a one-file rewrite is a scratch file and a
// rename; a step that changes several files is all-or-nothing through a journal: every new file
// and every appended text is written aside, then the journal names them (the commit), then they
// are moved into place. A start after a kill finishes a committed step and drops one that was
// not, so each file is as it was before the step or as it is after it.
class DataFolder {
public:
    using MemoryFiles = std::map<std::string, std::string, std::less<>>;

    explicit DataFolder(std::filesystem::path dir);
    // A folder of files held in memory, seeded with these: the same reads, rewrites and steps,
    // on files no one else sees. Copies of the folder share its files, as copies of a path do.
    static DataFolder inMemory(MemoryFiles files);
    bool isInMemory() const { return m_memory != nullptr; }

    const std::filesystem::path& dir() const { return m_dir; }
    std::filesystem::path file(std::string_view name) const { return m_dir / name; }

    // A file with unsaved changes (see carry) reads as it will be once they are saved.
    FileContent read(std::string_view name) const;
    // Replaces one file atomically; a file that already holds the content is left alone. While
    // changes are unsaved, they go in with it.
    FileError write(std::string_view name, std::string_view content) const;
    // Makes every change or none; a rewrite that would leave a file's bytes as they are is skipped.
    // Changes kept by carry() go in with them; when those cannot, a step that shares no file
    // with them goes in alone.
    // Every target is checked before the journal is written, so a
    // refusal has changed nothing; once the journal is on disk the step is done, and what could
    // not be put in place yet waits in the journal (pending) for the next step or start.
    StepOutcome commit(const FileChanges& changes) const;
    // Commits like commit(), for a step that has already happened in the game (a race run, a
    // settlement, a day begun): refused, its changes are kept unsaved and go out with the next
    // step that commits, together with that step's own, and every read of their files hands
    // back what they would hold. The refusal's message says the changes are kept. A step that
    // changes a file the day could not read is refused as by commit(), never kept.
    StepOutcome carry(const FileChanges& changes) const;
    // True while changes carry() kept wait for a step that commits.
    bool unsaved() const { return !m_unsaved.empty(); }
    // Tries the changes carry() kept on their own.
    StepOutcome saveUnsaved() const { return commit(FileChanges()); }
    // Finishes a step that a kill cut short after its commit, or drops (and says so in notice)
    // one cut short before it. A journal that does not match the files is refused and nothing is
    // touched. Called before the folder's files are read at the start of a day.
    StepOutcome recover() const;
    // True while a committed step waits in the journal for one of its files.
    bool pending() const;

    void setFaults(FileFaults* faults) { m_faults = faults; }
    void setObserver(DiskObserver* observer) { m_observer = observer; }

    // While held, each file is read once: a step that reads a file again (the results read the
    // pools for the board, then for the settlement) gets the bytes already read, and a file the
    // folder changes meanwhile is read afresh. Released, every read goes to the file again.
    void holdReads() { m_holdingReads = true; }
    void releaseReads() {
        m_holdingReads = false;
        m_heldReads.clear();
    }

    // How the day's load of a file went. A file that is there but could not be read is never
    // written afterwards: every write or change of it is refused, as what the game holds of it
    // did not come from it.
    void noteLoad(std::string_view name, ReadStatus status);
    // How the file read when the day loaded it; nothing when it was not loaded.
    std::optional<ReadStatus> loaded(std::string_view name) const;
    // A new day loads every file again.
    void forgetLoads() { m_loads.clear(); }

private:
    int before(FileOp op, std::string_view name) const;
    void saw(DiskEvent event, std::string_view name, std::string_view to = {}) const;
    FileError writeAside(std::string_view scratch, std::string_view name, std::string_view content) const;
    int renameIn(std::string_view from, std::string_view to) const;
    void removeIn(std::string_view name) const;
    int syncFile(std::string_view name) const;
    int syncFolder() const;
    int appendTo(std::string_view name, int64_t size, std::string_view text) const;
    StepOutcome commitNow(const FileChanges& changes) const;
    StepOutcome finish(bool atStart) const;
    void stepDone() const;
    FileError unreadRefusal(std::string_view name) const;

    void commitInMemory(const FileChanges& changes) const;

    std::filesystem::path m_dir;
    std::shared_ptr<MemoryFiles> m_memory; // set only for a folder in memory
    FileFaults* m_faults = nullptr;
    DiskObserver* m_observer = nullptr;
    std::map<std::string, ReadStatus, std::less<>> m_loads;
    bool m_holdingReads = false;
    mutable std::map<std::string, FileContent, std::less<>> m_heldReads;
    // What carry() could not write yet; a copy of the folder (a new day) keeps it.
    mutable FileChanges m_unsaved;
    void forgetRead(std::string_view name) const;
};

// Holds the folder's reads for the life of one step.
class HeldReads {
public:
    explicit HeldReads(DataFolder& folder) : m_folder(folder) { m_folder.holdReads(); }
    ~HeldReads() { m_folder.releaseReads(); }
    HeldReads(const HeldReads&) = delete;
    HeldReads& operator=(const HeldReads&) = delete;

private:
    DataFolder& m_folder;
};

// Names the game's data files may have: lower-case letters and digits, then ".dat".
bool isDataFileName(std::string_view name);

} // namespace sw
