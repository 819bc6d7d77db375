#include "TestSupport.h"

#include "core/TextEncoding.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <stdlib.h>

namespace sw::test {

void ScriptedPrompter::message(std::string_view text, std::string_view title) {
    beforePrompt();
    m_shown.push_back({std::string(text), std::string(title), false});
}

bool ScriptedPrompter::ask(std::string_view text, std::string_view title) {
    beforePrompt();
    if (m_whenAsked)
        m_whenAsked();
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

double ListRandom::uniform() {
    if (m_values.empty())
        return 0.0;
    if (m_next < m_values.size())
        return m_values[m_next++];
    return m_values.back();
}

TempDir::TempDir() {
    std::string name = (std::filesystem::temp_directory_path() / "stridewell-test-XXXXXX").string();
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

void copyBundledData(const std::filesystem::path& dir) {
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(STRIDEWELL_SOURCE_DIR) / "data"))
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), dir / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
}

} // namespace sw::test
