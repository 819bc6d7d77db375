// The user guide's worked examples are real: each script the guide prints is run with its seed on a
// fresh folder, and every output block the guide quotes for it must stand, whole lines in the same
// order, in what the game printed. An example can then never go stale.

#include "core/TextEncoding.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

using namespace sw;

struct Example {
    std::string seed;
    std::string script;
    std::vector<std::string> outputs; // in the order the guide quotes them
};

// The entities the guide uses inside its quoted output.
std::string unescape(std::string text) {
    static const std::pair<const char*, const char*> entities[] = {
        {"&gt;", ">"},         {"&lt;", "<"},         {"&plusmn;", "\u00B1"}, {"&times;", "\u00D7"},
        {"&minus;", "\u2212"}, {"&ndash;", "\u2013"}, {"&nbsp;", "\u00A0"},   {"&amp;", "&"}};
    for (const auto& [entity, character] : entities)
        for (auto at = text.find(entity); at != std::string::npos; at = text.find(entity, at))
            text.replace(at, std::string(entity).size(), character), at += std::string(character).size();
    return text;
}

// Every <pre data-example="NAME" ...> of the guide: the one with data-seed is the script, the
// others are what it prints.
std::map<std::string, Example> guideExamples(const std::string& html) {
    static const std::regex pre(R"re(<pre data-example="([^"]*)"([^>]*)>([\s\S]*?)</pre>)re");
    static const std::regex seed(R"re(data-seed="([^"]*)")re");
    std::map<std::string, Example> examples;
    for (auto at = std::sregex_iterator(html.begin(), html.end(), pre); at != std::sregex_iterator(); ++at) {
        Example& example = examples[(*at)[1]];
        const std::string body = unescape((*at)[3]), tag = (*at)[2];
        if (std::smatch found; std::regex_search(tag, found, seed)) {
            example.seed = found[1];
            example.script = body + "\n";
        } else {
            example.outputs.push_back(body);
        }
    }
    return examples;
}

TEST(GuideExamples, EveryQuotedOutputIsWhatTheGamePrintsForItsSeededDay) {
    const auto examples =
        guideExamples(test::readAll(std::string(STRIDEWELL_SOURCE_DIR) + "/docs/userguide.htm"));
    ASSERT_GE(examples.size(), 3u) << "the worked race, the chances and the exchange are examples";
    for (const auto& [name, example] : examples) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(example.seed.empty()) << "an example without its script";
        ASSERT_FALSE(example.outputs.empty()) << "a script that shows nothing";
        test::TempDir dir; // empty: the day starts from the stable the game ships with
        test::writeAll(dir / "script.txt", example.script);
        const std::string command = std::string(STRIDEWELL_CLI) + " --data-dir " + (dir / "data").string() +
                                    " --seed " + example.seed + " " + (dir / "script.txt").string() + " >" +
                                    (dir / "out.txt").string() + " 2>&1";
        std::filesystem::create_directory(dir / "data");
        const int status = std::system(command.c_str());
        const std::string printed = test::readAll(dir / "out.txt");
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << printed;
        // Each block's lines stand together in the output, after the block quoted before it.
        const auto output = splitLines(printed);
        auto from = output.begin();
        for (const std::string& block : example.outputs) {
            const auto lines = splitLines(block);
            from = std::search(from, output.end(), lines.begin(), lines.end());
            ASSERT_NE(from, output.end()) << "the guide quotes:\n"
                                          << block << "\n\nthe game printed:\n"
                                          << printed;
            ++from;
        }
    }
}

} // namespace
