#include "ReliabilitySupport.h"

#include "core/Constants.h"
#include "core/TextEncoding.h"
#include "players/Players.h"
#include "settlement/Settlement.h"
#include "support/TestSupport.h"
#include "tote/PoolFiles.h"
#include "wagering/ExchangeCredits.h"
#include "wagering/TicketPricing.h"

#include <algorithm>
#include <cstdlib>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sw::reliability {

namespace {

namespace fs = std::filesystem;

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? line.npos : comma - start));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

bool isWhole(std::string_view text) {
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A number as the game writes one: digits, at most one point, an optional leading minus.
bool isNumber(std::string_view text) {
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    auto point = text.find('.');
    if (point == std::string_view::npos)
        return isWhole(text);
    return isWhole(text.substr(0, point)) && isWhole(text.substr(point + 1)) &&
           text.substr(point + 1)[0] != '-';
}

// What each field of a record must look like: 'i' whole number, 'n' number, 't' text (a name cut
// short by a hand edit stays empty), 'T' text that is not empty, 'b' True or False, 'e' empty or a
// whole number.
bool matches(std::string_view line, std::string_view shape) {
    auto fields = fieldsOf(line);
    if (fields.size() != shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        std::string_view f = fields[i];
        switch (shape[i]) {
        case 'i':
            if (!isWhole(f))
                return false;
            break;
        case 'n':
            if (!isNumber(f))
                return false;
            break;
        case 'T':
            if (f.empty())
                return false;
            break;
        case 'b':
            if (f != "True" && f != "False")
                return false;
            break;
        case 'e':
            if (!f.empty() && !isWhole(f))
                return false;
            break;
        default:
            break;
        }
    }
    return true;
}

struct FileShape {
    std::string_view name;
    std::string_view shape;
    int records; // exact count of records, -1 for any
    bool required;
    bool mayBeEmpty = false; // emptied at the start of a day before it is written
};

constexpr std::string_view HorseShape = "ttiiiiiiittniiiiiiiiiiib";
// horse, date, reserved, race, distance, track, winner time, rating, post, the calls with their
// margins, finish, final time, odds, grade, comment, field size.
constexpr std::string_view PastShape = "itiiit"
                                       "niiii"
                                       "titit"
                                       "nntti";
static_assert(PastShape.size() == 21);
static_assert(HorseShape.size() == 24);

} // namespace

std::vector<std::string> folderProblems(const fs::path& dir) {
    std::vector<std::string> problems;
    const FileShape shapes[] = {
        {"horses.dat", HorseShape, HorseCount, true}, {"jockeys.dat", "tiiiiiin", JockeyCount, true},
        {"settings.dat", "nneen", 1, true},           {"players.dat", "itn", -1, false},
        {"tickets.dat", "iiiTit", -1, false},         {"pastperformances.dat", PastShape, -1, false},
        {"top10players.dat", "tn", -1, false},        {"races.dat", "iiitiiiiiiii", RacesPerDay, false, true},
    };
    auto report = [&](std::string_view file, std::string what) {
        problems.push_back(std::string(file) + ": " + what);
    };
    auto checkEndings = [&](std::string_view name, const std::string& content) {
        std::size_t lf = std::count(content.begin(), content.end(), '\n');
        std::size_t cr = std::count(content.begin(), content.end(), '\r');
        std::size_t crlf = 0;
        for (std::size_t i = 0; i + 1 < content.size(); ++i)
            crlf += content[i] == '\r' && content[i + 1] == '\n';
        if (lf != crlf || cr != crlf)
            report(name, "a line does not end with CR LF");
        if (!content.empty() && content.back() != '\n')
            report(name, "the last line is cut short");
    };

    for (const FileShape& file : shapes) {
        std::error_code ec;
        if (!fs::exists(dir / file.name, ec)) {
            if (file.required)
                report(file.name, "missing");
            continue;
        }
        std::string content = test::readAll(dir / file.name);
        checkEndings(file.name, content);
        int records = 0;
        for (std::string_view line : splitLines(content)) {
            ++records;
            if (!matches(line, file.shape))
                report(file.name, "broken record \"" + std::string(line.substr(0, 120)) + "\"");
        }
        if (file.records >= 0 && records != file.records && !(file.mayBeEmpty && records == 0))
            report(file.name,
                   std::to_string(records) + " records instead of " + std::to_string(file.records));
    }

    for (int f = 0; f < static_cast<int>(PoolFileCount); ++f) {
        auto pool = static_cast<PoolFile>(f);
        std::string_view name = poolFileName(pool);
        std::error_code ec;
        if (!fs::exists(dir / name, ec))
            continue;
        std::string content = test::readAll(dir / name);
        checkEndings(name, content);
        for (std::string_view line : splitLines(content)) {
            auto parsed = parsePoolLine(line, pool);
            if (!parsed || !isWhole(fieldsOf(line).back()))
                report(name, "broken line \"" + std::string(line.substr(0, 120)) + "\"");
        }
    }
    if (std::error_code ec; fs::exists(dir / ExchangeCreditsFile, ec)) {
        std::string content = test::readAll(dir / ExchangeCreditsFile);
        checkEndings(ExchangeCreditsFile, content);
        for (std::string_view line : splitLines(content))
            if (!parseExchangeCredit(line))
                report(ExchangeCreditsFile, "broken credit \"" + std::string(line.substr(0, 120)) + "\"");
        // A credit goes in with the settling of its first half and is marked with the payment of
        // its second half: the first half is gone from tickets.dat, the second half is there.
        const std::vector<TicketRecord> tickets = parseTickets(test::readAll(dir / "tickets.dat"));
        auto logged = [&](int32_t number, std::string_view word, int32_t race) {
            return std::any_of(tickets.begin(), tickets.end(), [&](const TicketRecord& t) {
                return t.number == number && t.betType == word && t.raceNumber == race;
            });
        };
        for (const ExchangeCredit& credit : parseExchangeCredits(content)) {
            const std::string exchange = credit.betType + " Exchange";
            if (logged(credit.number, credit.betType, credit.race - 1))
                report(ExchangeCreditsFile,
                       "credit " + std::to_string(credit.number) + " beside its unsettled first half");
            if (credit.exchangedBy != 0 && !logged(credit.exchangedBy, exchange, credit.race))
                report(ExchangeCreditsFile,
                       "credit " + std::to_string(credit.number) + " exchanged by no ticket");
        }
    }
    return problems;
}

std::optional<std::map<int32_t, std::string>> playersOnDisk(const fs::path& dir) {
    std::map<int32_t, std::string> balances;
    const std::string content = test::readAll(dir / "players.dat");
    for (std::string_view line : splitLines(content)) {
        if (!matches(line, "itn"))
            return std::nullopt;
        auto fields = fieldsOf(line);
        balances[static_cast<int32_t>(std::stol(std::string(fields[0])))] = std::string(fields[2]);
    }
    return balances;
}

bool runningAsRoot() {
    return ::geteuid() == 0;
}

int runInChild(const std::function<int()>& body, bool asUser) {
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (asUser && ::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            uid_t uid = nobody ? nobody->pw_uid : 65534;
            gid_t gid = nobody ? nobody->pw_gid : 65534;
            if (::setgid(gid) != 0 || ::setuid(uid) != 0)
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
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

std::string randomTicket(std::mt19937& rng, BetType type, BetMode mode, int amount) {
    auto below = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    // Distinct posts in a random click order, at least `least` of them, or "All" now and then.
    auto set = [&](int least, bool allowAll) {
        if (allowAll && below(6) == 0)
            return std::string("All");
        std::string posts = "12345678";
        std::shuffle(posts.begin(), posts.end(), rng);
        return posts.substr(0, static_cast<std::size_t>(least + below(9 - least)));
    };
    std::string text = "$" + std::to_string(amount) + " " + std::string(betWord(type)) + " ";
    int k = horsesPerCombination(type);
    if (isSingleHorseBet(type))
        return text + "on " + set(1, true);
    if (mode == BetMode::Straight) {
        std::string posts = "12345678";
        std::shuffle(posts.begin(), posts.end(), rng);
        return text + "Straight " + posts.substr(0, static_cast<std::size_t>(k));
    }
    if (mode == BetMode::Box)
        return text + "Box " + set(k, true);
    text += "Wheel";
    for (int s = 0; s < setsPerWheel(type); ++s) {
        // Narrow sets keep a Pick 6 or a Superfecta wheel from costing a fortune.
        std::string posts = set(1, false);
        text += (s == 0 ? " " : " with ") + posts.substr(0, static_cast<std::size_t>(1 + below(3)));
    }
    return text;
}

std::string randomOfferedTicket(std::mt19937& rng, const RaceDay& day, int maxAmount) {
    std::vector<BetType> offered = {BetType::Win,      BetType::Place,     BetType::Show,
                                    BetType::WPS,      BetType::Quiniela,  BetType::Exacta,
                                    BetType::Trifecta, BetType::Superfecta};
    if (day.dailyDoubleOffered)
        offered.push_back(BetType::DailyDouble);
    if (day.pick3Offered)
        offered.push_back(BetType::Pick3);
    if (day.pick6Offered)
        offered.push_back(BetType::Pick6);
    BetType type = offered[rng() % offered.size()];
    BetMode mode = BetMode::On;
    if (isMultiRace(type))
        mode = BetMode::Wheel;
    else if (!isSingleHorseBet(type))
        mode = std::array{BetMode::Straight, BetMode::Box, BetMode::Wheel}[rng() % 3];
    int amount = 1 + static_cast<int>(rng() % static_cast<unsigned>(maxAmount));
    return randomTicket(rng, type, mode, amount);
}

std::vector<std::string> playRace(Game& game, const std::vector<std::string>& tickets) {
    RaceDay& day = game.day();
    for (const std::string& text : tickets)
        game.ticketList().listTicket(day, text);
    if (!day.tickets.empty())
        game.pay();
    if (!game.beginRace())
        return {};
    game.finishRace();
    game.runResultsToEnd();
    std::vector<std::string> errors = game.settlement().errors;
    if (game.chart().saveError)
        errors.insert(errors.begin(), game.chart().saveError.message);
    game.confirmResults();
    if (game.stage() == Stage::Program)
        game.toteBoard();
    return errors;
}

bool playDay(const fs::path& dir, uint64_t seed, int races) {
    SeededRandom random(seed);
    test::ScriptedPrompter prompter;
    Game game(dir, random, prompter);
    if (!game.startDay())
        return false;
    game.toteBoard();
    if (game.day().players.entries.empty()) {
        addPlayer(game.day(), "Ann");
        addPlayer(game.day(), "Bob");
    }
    std::mt19937 rng(static_cast<std::mt19937::result_type>(seed));
    for (int race = 0; race < races && game.stage() == Stage::Betting; ++race) {
        std::vector<std::string> tickets;
        for (int t = 0; t < 3; ++t)
            tickets.push_back(randomOfferedTicket(rng, game.day(), 5));
        selectBettor(game.day(), race % static_cast<int>(game.day().players.entries.size()));
        playRace(game, tickets);
    }
    return true;
}

} // namespace sw::reliability
