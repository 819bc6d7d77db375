#include "Options.h"
#include "core/Translate.h"

#include "core/Format.h"
#include "core/WholeNumber.h"

#include <chrono>
#include <string_view>

#include <getopt.h>

namespace sw::cli {

namespace {

const char* const Program = "stridewell-cli";

// The long options and their one-letter forms, in the order --help lists them.
struct OptionText {
    const char* name;
    char letter;
    const char* argument; // nullptr for a switch
    const char* help;
};
constexpr OptionText OptionTexts[] = {
    {"data-dir", 'd', "DIR",
     N_("keep the stable, the players and the day in DIR; by default the program's\n"
        "own folder when it holds horses.dat, else $XDG_DATA_HOME/stridewell\n"
        "(~/.local/share/stridewell)")},
    {"seed", 's', "N", N_("draw the day from the whole number N: the same seed plays the same day")},
    {"json", 'j', nullptr, N_("print every command's result as one JSON object on one line")},
    {"date", 'D', "YYYY-MM-DD",
     N_("date the day's tickets, results and past performances DATE instead of today,\n"
        "so a seeded day prints the same every time")},
    {"help", 'h', nullptr, N_("show this help and exit")},
    {"version", 'V', nullptr, N_("show the version and exit")},
};

constexpr std::size_t HelpIndent = 22;

// The game's short date text of a calendar date written YYYY-MM-DD; empty for anything else.
std::string shortDateOf(std::string_view text) {
    if (text.size() != 10)
        return {};
    int fields[3] = {0, 0, 0};
    for (std::size_t i = 0, f = 0; i < text.size(); ++i) {
        if (i == 4 || i == 7) {
            if (text[i] != '-')
                return {};
            ++f;
        } else if (text[i] >= '0' && text[i] <= '9') {
            fields[f] = fields[f] * 10 + (text[i] - '0');
        } else {
            return {};
        }
    }
    const auto [year, month, day] = fields;
    const std::chrono::year_month_day date{std::chrono::year(year),
                                           std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    return date.ok() ? shortDateText(year, month, day) : std::string();
}

} // namespace

Options parseOptions(const std::vector<std::string>& args) {
    std::vector<std::string> words;
    words.reserve(args.size() + 1);
    words.emplace_back(Program);
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    std::vector<option> longOptions;
    std::string shortOptions = ":"; // ':' first: a missing value is reported, not printed by getopt
    for (const OptionText& o : OptionTexts) {
        longOptions.push_back({o.name, o.argument ? required_argument : no_argument, nullptr, o.letter});
        shortOptions += o.letter;
        if (o.argument)
            shortOptions += ':';
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});

    Options options;
    const auto fail = [&options](const std::string& what) {
        options.action = Options::Action::Error;
        options.error = what;
        return options;
    };
    // getopt keeps its place in globals; 0 makes glibc start over, so the parser can run again.
    optind = 0;
    opterr = 0;
    const int argc = static_cast<int>(words.size());
    int c = 0;
    while ((c = getopt_long(argc, argv.data(), shortOptions.c_str(), longOptions.data(), nullptr)) != -1) {
        const std::string word = argv[static_cast<std::size_t>(optind - 1)];
        switch (c) {
        case 'd':
            if (*optarg == '\0')
                return fail(_("--data-dir needs a folder"));
            options.dataDir = optarg;
            break;
        case 's':
            options.seed = parseWholeNumber(optarg);
            if (!options.seed)
                return fail(fillIn(_("--seed takes a whole number from 0 to 18446744073709551615, not '{0}'"),
                                   std::string_view(optarg)));
            break;
        case 'j':
            options.json = true;
            break;
        case 'D':
            options.date = shortDateOf(optarg);
            if (options.date.empty())
                return fail(fillIn(_("--date takes a date YYYY-MM-DD, not '{0}'"), std::string_view(optarg)));
            break;
        case 'h':
            if (options.action == Options::Action::Play)
                options.action = Options::Action::Help;
            break;
        case 'V':
            if (options.action == Options::Action::Play)
                options.action = Options::Action::Version;
            break;
        case ':':
            return fail(fillIn(_("option '{0}' needs a value"), word));
        default:
            return fail(
                optopt != 0 && word.rfind("--", 0) != 0
                    ? fillIn(_("unknown option '{0}'"), "-" + std::string(1, static_cast<char>(optopt)))
                    : fillIn(_("unknown option '{0}'"), word.substr(0, word.find('='))));
        }
    }
    if (optind < argc)
        options.script = argv[static_cast<std::size_t>(optind++)];
    if (optind < argc)
        return fail(fillIn(_("only one SCRIPT can be played, not also '{0}'"),
                           argv[static_cast<std::size_t>(optind)]));
    return options;
}

std::string helpText() {
    std::string text =
        fillIn(_("Usage: {0} [OPTION]... [SCRIPT]\n"), Program) +
        _("Play a Stridewell race day in a terminal: bet play money on twelve simulated horse races.\n"
          "With SCRIPT, run its commands, one a line, and print what each of them shows.\n\n"
          "Options:\n");
    for (const OptionText& o : OptionTexts) {
        std::string head = std::string("  -") + o.letter + ", --" + o.name;
        if (o.argument)
            head += std::string(" ") + o.argument;
        head.resize(std::max<std::size_t>(head.size() + 2, HelpIndent), ' ');
        std::string help = _(o.help);
        for (std::size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1))
            help.insert(at + 1, HelpIndent, ' ');
        text += head + help + "\n";
    }
    text += _("\nWithout SCRIPT the commands come from the standard input; at a terminal a prompt shows\n"
              "the race and the stage, with line editing and history. Type 'help' for the commands.\n\n"
              "Exit status:\n"
              "  0  every command ran\n"
              "  1  a command failed, or the output was closed\n"
              "  2  a wrong command line, or the game could not start its day\n");
    return text;
}

std::string versionText() {
    return std::string(Program) + " " + STRIDEWELL_VERSION + "\n" +
           "Copyright (C) 2026 The Stridewell developers\n" +
           _("License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
             "This is free software: you are free to change and redistribute it.\n"
             "There is NO WARRANTY, to the extent permitted by law.\n");
}

} // namespace sw::cli
