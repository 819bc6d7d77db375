#include "PoolDay.h"

#include "core/Constants.h"
#include "players/Players.h"
#include "settlement/Payoffs.h"
#include "settlement/Settlement.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace sw::fuzz {

namespace fs = std::filesystem;

namespace {

// The public's lines of the exotic pools are thinned to every 25th one and the finish's own
// combination (3, 1, 4, 2), so that each input reads a tenth of the lines and the payoffs still
// find money where the settlement looks.
std::string thinned(const std::string& name, const std::string& content) {
    const bool exotic = name == "quinielas.dat" || name == "exactas.dat" || name == "trifectas.dat" ||
                        name == "superfectas.dat";
    if (!exotic)
        return content;
    const std::string_view winning = name == "quinielas.dat" ? ",1,3," : ",3,1,";
    std::string kept;
    int line = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        end = end == std::string::npos ? content.size() : end + 1;
        const std::string_view text(content.data() + start, end - start);
        const long number = std::strtol(text.data(), nullptr, 10);
        const bool onWinners = text.substr(text.find(','), winning.size()) == winning;
        if (number > PublicPoolLines || onWinners || line++ % 25 == 0)
            kept.append(text);
        start = end;
    }
    return kept;
}

} // namespace

PoolDay::PoolDay(FuzzFolder& folder) : m_folder(folder) {
    folder.reset();
    SeededRandom random(2);
    QuietPrompter prompter;
    Game game(folder.path(), random, prompter);
    if (!game.startDay())
        return;
    game.toteBoard();
    RaceDay& day = game.day();
    // Every bet at once, multi-race ones too, so that every pool file holds players' lines.
    day.dailyDoubleOffered = day.pick3Offered = day.pick6Offered = true;
    for (const char* name : {"Ann", "Bob"}) {
        addPlayer(day, name);
        for (const char* text :
             {"$2 Win on 1", "$2 Place on 12", "$3 Show on All", "$2 WPS on 3",
              "$2 Quiniela Wheel 12 with 13", "$1 Exacta Box 1234", "$1 Trifecta Wheel 1 with All with All",
              "$1 Superfecta Box 12345", "$2 DailyDouble Wheel All with 123",
              "$1 Pick3 Wheel 12 with 34 with All", "$1 Pick6 Wheel 1 with 2 with 3 with 4 with 5 with All"})
            game.ticketList().listTicket(day, text);
        game.pay();
    }
    m_players = day.players;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        const std::string name = entry.path().filename().string();
        m_files[name] = thinned(name, content.str());
    }
}

void PoolDay::restore() const {
    m_folder.reset();
    for (const auto& [name, content] : m_files)
        m_folder.write(name, content);
}

void PoolDay::settleDay(Prompter& prompter) const {
    SeededRandom random(3);
    RaceDay day(m_folder.path(), random, prompter);
    day.players = m_players;
    day.result.finishOrder = {3, 1, 4, 2, 5, 6, 7, 8};
    day.result.complete = true;
    day.raceWinner.fill(3);
    for (int race : {0, 2, 5, 11}) {
        day.currentRace = static_cast<int16_t>(race);
        std::vector<float> before;
        for (const PlayerEntry& player : day.players.entries)
            before.push_back(balanceOf(player));
        Payoffs payoffs = preparePayoffs(day);
        settleRace(day, payoffs);
        // A settlement only ever credits: whatever a pool or ticket line says, nobody loses money.
        for (std::size_t i = 0; i < before.size(); ++i)
            require(balanceOf(day.players.entries[i]) >= before[i], "a settlement never lowers a balance");
    }
}

} // namespace sw::fuzz
