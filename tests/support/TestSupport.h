#pragma once

#include "core/Prompter.h"
#include "core/Random.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace sw::test {

// Answers questions from a script and records every message and question it was shown.
class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        std::string text;
        std::string title;
        bool question = false;
    };

    void answer(bool yes) { m_answers.push_back(yes); }
    // Runs at each question, after the prompt's own hook: a test looks at what is shown then.
    void whenAsked(std::function<void()> look) { m_whenAsked = std::move(look); }
    void message(std::string_view text, std::string_view title) override;
    // Unscripted questions are answered No.
    bool ask(std::string_view text, std::string_view title) override;

    const std::vector<Shown>& shown() const { return m_shown; }
    bool sawText(std::string_view text) const;
    void clear() { m_shown.clear(); }

private:
    std::deque<bool> m_answers;
    std::vector<Shown> m_shown;
    std::function<void()> m_whenAsked;
};

// Replays a fixed list of draws, then repeats the last one; for tests that pin every draw.
class ListRandom final : public Random {
public:
    explicit ListRandom(std::vector<double> values) : m_values(std::move(values)) {}
    double uniform() override;
    std::size_t drawsTaken() const { return m_next; }

private:
    std::vector<double> m_values;
    std::size_t m_next = 0;
};

// A fresh folder under the system's temp folder, removed with the object.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

std::string readAll(const std::filesystem::path& file);
void writeAll(const std::filesystem::path& file, std::string_view content);
std::vector<std::string> readLines(const std::filesystem::path& file);
// Every regular file of the folder by name, with its bytes.
std::map<std::string, std::string> folderContents(const std::filesystem::path& dir);

// Copies the source tree's bundled data into dir, so a test can play on it without touching the original.
void copyBundledData(const std::filesystem::path& dir);

} // namespace sw::test
