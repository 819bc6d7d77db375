#include "TestSupport.h"

#include "core/TextEncoding.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

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
    if (m_answers.empty()) {
        ++m_unscripted;
        return false;
    }
    bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}

bool ScriptedPrompter::sawText(std::string_view text) const {
    for (const auto& s : m_shown)
        if (s.text == text)
            return true;
    return false;
}

double ListRandom::uniform() {
    if (m_values.empty())
        return 0.0;
    if (m_next < m_values.size())
        return m_values[m_next++];
    return m_values.back();
}

TempDir::TempDir() {
    static std::mt19937_64 engine{std::random_device{}()};
    auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("stridewell-test-" + std::to_string(engine()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
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
    std::string content = readAll(file);
    std::vector<std::string> lines;
    for (auto line : splitLines(content))
        lines.emplace_back(line);
    return lines;
}

std::filesystem::path bundledDataDir() {
    return std::filesystem::path(STRIDEWELL_SOURCE_DIR) / "data";
}

void copyBundledData(const std::filesystem::path& dir) {
    for (const auto& entry : std::filesystem::directory_iterator(bundledDataDir()))
        if (entry.is_regular_file())
            std::filesystem::copy_file(entry.path(), dir / entry.path().filename(),
                                       std::filesystem::copy_options::overwrite_existing);
}

} // namespace sw::test
