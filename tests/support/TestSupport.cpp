#include "TestSupport.h"

#include "core/TextEncoding.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sw::test {

void ScriptedPrompter::message(std::string_view text, std::string_view title) {
    beforePrompt();
    m_shown.push_back({std::string(text), std::string(title), false});
}

bool ScriptedPrompter::ask(std::string_view text, std::string_view title) {
    beforePrompt();
    m_shown.push_back({std::string(text), std::string(title), true});
    if (m_answers.empty())
        return false;
    bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

bool ScriptedPrompter::sawText(std::string_view text) const {
    return std::any_of(m_shown.begin(), m_shown.end(), [&](const Shown& s) { return s.text == text; });
}

std::string ScriptedPrompter::said() const {
    std::string s;
    for (const Shown& m : m_shown)
        s += (s.empty() ? "" : " | ") + std::string(m.question ? "?" : "") + m.title + ": " + m.text;
    return s;
}

double ListRandom::uniform() {
    if (m_values.empty())
        return 0.0;
    if (m_next < m_values.size())
        return m_values[m_next++];
    return m_values.back();
}

TempDir::TempDir() {
    // Memory-backed where the machine has it: the game syncs every step to disk, and the order of
    // those syncs is checked through DiskOrderCheck, not by waiting for a disk.
    std::error_code ec;
    const std::filesystem::path shm = "/dev/shm";
    const bool inMemory = std::filesystem::is_directory(shm, ec) && ::access(shm.c_str(), W_OK) == 0;
    std::string name =
        ((inMemory ? shm : std::filesystem::temp_directory_path()) / "stridewell-test-XXXXXX").string();
    if (!::mkdtemp(name.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = name;
    std::filesystem::permissions(m_path, static_cast<std::filesystem::perms>(0755));
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeAll(const std::filesystem::path& file, std::string_view content) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::map<std::string, std::string> folderContents(const std::filesystem::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = readAll(entry.path());
    return files;
}

std::vector<std::string> readLines(const std::filesystem::path& file) {
    const std::string content = readAll(file);
    const auto lines = splitLines(content);
    return {lines.begin(), lines.end()};
}

int runAsUser(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (::setgid(nobody ? nobody->pw_gid : 65534) != 0 ||
                ::setuid(nobody ? nobody->pw_uid : 65534) != 0)
                ::_exit(97);
        }
        int code = 99;
        try {
            code = body();
        } catch (...) {
            code = 98;
        }
        std::fflush(nullptr);
        ::_exit(code);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void copyBundledData(const std::filesystem::path& dir) {
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(STRIDEWELL_SOURCE_DIR) / "data"))
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), dir / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
}

namespace {

constexpr std::string_view Journal = "stridewell.journal";

bool isAside(std::string_view name) {
    return name.ends_with(".new") || name.ends_with(".add");
}

} // namespace

void DiskOrderCheck::journalMustBeOnDisk(std::string_view what) {
    const auto journal = m_files.find(Journal);
    if (journal == m_files.end() || !journal->second.bytes || !journal->second.name)
        problem(std::string(what) + " before the journal was on disk");
}

void DiskOrderCheck::saw(DiskEvent event, std::string_view name, std::string_view to) {
    ++m_events;
    const bool target = !isAside(name) && name != Journal;
    switch (event) {
    case DiskEvent::Write:
        m_files[std::string(name)] = {};
        if (name == std::string(Journal) + ".new")
            m_stepJournaled = true;
        break;
    case DiskEvent::Append:
        if (target) {
            journalMustBeOnDisk("append to " + std::string(name));
            m_changed.insert(std::string(name));
        }
        m_files[std::string(name)].bytes = false;
        break;
    case DiskEvent::Sync:
        m_files[std::string(name)].bytes = true;
        break;
    case DiskEvent::SyncFolder:
        for (auto& [file, state] : m_files)
            state.name = true;
        break;
    case DiskEvent::Rename: {
        const OnDisk from = m_files[std::string(name)];
        if (!from.bytes)
            problem("rename of " + std::string(name) + " before its bytes were synced");
        if (to == Journal)
            for (const auto& [file, state] : m_files)
                if (isAside(file) && file != name && !state.bytes)
                    problem("journal named " + file + " before its bytes were synced");
        const bool toTarget = !isAside(to) && to != Journal;
        if (toTarget && m_stepJournaled)
            journalMustBeOnDisk("rename onto " + std::string(to));
        if (toTarget)
            m_changed.insert(std::string(to));
        m_files.erase(std::string(name));
        m_files[std::string(to)] = {from.bytes, false};
        break;
    }
    case DiskEvent::Remove:
        if (name == Journal)
            for (const std::string& file : m_changed)
                if (const auto at = m_files.find(file);
                    at != m_files.end() && !(at->second.bytes && at->second.name))
                    problem("journal removed before " + file + " was on disk");
        m_files.erase(std::string(name));
        break;
    }
}

void DiskOrderCheck::stepDone() {
    for (const std::string& file : m_changed)
        if (const auto at = m_files.find(file); at != m_files.end() && !(at->second.bytes && at->second.name))
            problem("step ended before " + file + " was on disk");
    m_changed.clear();
    m_stepJournaled = false;
}

} // namespace sw::test
