#pragma once

#include "FileStore.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

// What a change to the data folder is about to do; a FileFaults sees each one first.
enum class FileOp { Write, Rename, Append };

// Lets a test fail the folder's writes, renames and appends, or stop the game in the middle of
// one (by throwing), to prove every step leaves each file before or after it.
class FileFaults {
public:
    virtual ~FileFaults() = default;
    // 0 to go on, or the errno value the operation fails with.
    virtual int before(FileOp op, std::string_view name) = 0;
    // 0 to read the file, or the errno value its reading fails with: a file root could read
    // whatever its permissions say can still be made unreadable.
    virtual int beforeRead(std::string_view) { return 0; }
    // Every step that changed files is over (the folder is as the step leaves it).
    virtual void stepDone() {}
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
    std::vector<Change> m_changes;
};

// The game's data folder. Reads hand back bytes; a one-file rewrite is a scratch file and a
// rename; a step that changes several files is all-or-nothing through a journal: every new file
// and every appended text is written aside, then the journal names them (the commit), then they
// are moved into place. A start after a kill finishes a committed step and drops one that was
// not, so each file is as it was before the step or as it is after it.
class DataFolder {
public:
    explicit DataFolder(std::filesystem::path dir);

    const std::filesystem::path& dir() const { return m_dir; }
    std::filesystem::path file(std::string_view name) const { return m_dir / name; }

    FileContent read(std::string_view name) const;
    // Replaces one file atomically; a file that already holds the content is left alone.
    FileError write(std::string_view name, std::string_view content) const;
    // Makes every change or none. An append that cannot be made undoes the ones made before it.
    // A rewrite that would leave a file's bytes as they are is skipped.
    FileError commit(const FileChanges& changes) const;
    // Finishes a step that a kill cut short after its commit, or drops one cut short before it.
    // Called before the folder's files are read at the start of a day.
    FileError recover() const;

    void setFaults(FileFaults* faults) { m_faults = faults; }

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
    FileError writeAside(const std::filesystem::path& scratch, std::string_view name,
                         std::string_view content) const;
    FileError replay(std::string_view journal) const;
    void stepDone() const;
    FileError unreadRefusal(std::string_view name) const;

    std::filesystem::path m_dir;
    FileFaults* m_faults = nullptr;
    std::map<std::string, ReadStatus, std::less<>> m_loads;
    // False once a recovery or a whole step left no journal behind: a step then need not look
    // for one (nor scan the folder) before it starts. A new folder object looks once.
    mutable bool m_journalMayBeLeft = true;
    bool m_holdingReads = false;
    mutable std::map<std::string, FileContent, std::less<>> m_heldReads;
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
