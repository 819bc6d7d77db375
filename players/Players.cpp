#include "Players.h"

#include "core/Constants.h"
#include "core/Format.h"
#include "core/TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace sw {

namespace {

constexpr std::size_t MaxNameCharacters = 24;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Decodes the UTF-8 text into code points; false on any malformed, overlong or surrogate sequence.
bool decodeUtf8(std::string_view text, std::vector<char32_t>& out) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= text.size())
            return false;
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

bool isControl(char32_t cp) {
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
}

// Unicode's invisible format characters (category Cf). A direction override in a name reverses
// the balance shown beside it; zero-width ones make two names look the same.
bool isFormatCharacter(char32_t cp) {
    static constexpr std::pair<char32_t, char32_t> ranges[] = {
        {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},
        {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},   {0x200B, 0x200F},   {0x202A, 0x202E},
        {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD},
        {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
        {0xE0020, 0xE007F},
    };
    for (const auto& [first, last] : ranges)
        if (cp >= first && cp <= last)
            return true;
    return false;
}

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string playerRecord(const PlayerEntry& entry) {
    return RecordWriter().integer(entry.playerId).text(entry.name).text(entry.balance).line();
}

// The number of the text's last record, or 0 when it holds none.
int64_t lastPlayerNumber(std::string_view text) {
    int64_t last = 0;
    forEachLineIn(text, [&](std::string_view line) {
        if (isBlankLine(line))
            return;
        int64_t number = 0;
        FieldReader(line).read(number);
        last = number;
    });
    return last;
}

} // namespace

std::vector<PlayerEntry> parsePlayers(std::string_view text) {
    std::vector<PlayerEntry> players;
    forEachLineIn(text, [&](std::string_view line) {
        if (isBlankLine(line))
            return;
        FieldReader reader(line);
        PlayerEntry entry;
        reader.read(entry.playerId);
        reader.read(entry.name);
        reader.read(entry.balance);
        players.push_back(std::move(entry));
    });
    return players;
}

std::string trimName(std::string_view name) {
    std::size_t begin = 0;
    std::size_t end = name.size();
    while (begin < end && isBlank(name[begin]))
        ++begin;
    while (end > begin && isBlank(name[end - 1]))
        --end;
    return std::string(name.substr(begin, end - begin));
}

void loadPlayers(RaceDay& day) {
    PlayerList& list = day.players;
    list.entries.clear();
    list.selected = -1;
    list.highestNumberUsed = 0;
    const FileContent content = day.folder.read("players.dat");
    // A players.dat that exists but cannot be read is kept for when it can: rewriting it from
    // what was read would lose the players. The folder refuses every later write of it.
    day.folder.noteLoad("players.dat", content.status);
    if (content.status == ReadStatus::Unreadable) {
        day.prompter.message("Error reading players.dat", MessageTitle);
        return;
    }
    list.entries = parsePlayers(content.bytes);
    // The stored balances are passed over: every day starts at the starting amount.
    const std::string startText = formatSingle(day.db.settings.startAmount);
    for (PlayerEntry& entry : list.entries)
        entry.balance = startText;
    savePlayers(day);
}

namespace {

std::string playersText(const PlayerList& players) {
    std::string content;
    for (const PlayerEntry& entry : players.entries)
        content += playerRecord(entry);
    return content;
}

} // namespace

FileError savePlayers(const RaceDay& day) {
    return day.folder.write("players.dat", playersText(day.players));
}

void addPlayers(const RaceDay& day, FileChanges& changes) {
    changes.write("players.dat", playersText(day.players));
}

std::optional<std::string> playerNameProblem(std::string_view name) {
    std::string trimmed = trimName(name);
    if (trimmed.empty())
        return "Please enter the player's name.";
    std::vector<char32_t> characters;
    if (!decodeUtf8(trimmed, characters))
        return "The name holds characters that cannot be stored. Please type it again.";
    for (char32_t c : characters) {
        if (c == U',')
            return "A player's name cannot contain a comma.";
        if (isControl(c))
            return "A player's name cannot contain control characters such as tabs or line breaks.";
        if (isFormatCharacter(c))
            return "A player's name cannot contain invisible formatting characters such as direction marks "
                   "or zero-width spaces.";
    }
    if (characters.size() > MaxNameCharacters)
        return "A player's name can be at most " + std::to_string(MaxNameCharacters) + " characters long.";
    return std::nullopt;
}

bool addPlayer(RaceDay& day, std::string_view name) {
    if (auto problem = playerNameProblem(name)) {
        day.prompter.message(*problem, AppTitle);
        return false;
    }
    PlayerList& list = day.players;
    int64_t number =
        std::max<int64_t>(lastPlayerNumber(day.folder.read("players.dat").bytes), list.highestNumberUsed) + 1;
    while (number > 0 && number <= std::numeric_limits<int32_t>::max() &&
           findPlayer(list, static_cast<int32_t>(number)) >= 0)
        ++number;
    if (number > std::numeric_limits<int32_t>::max() || number < std::numeric_limits<int32_t>::min()) {
        day.prompter.message("No further player number is free in players.dat.", AppTitle);
        return false;
    }
    PlayerEntry entry{static_cast<int32_t>(number), trimName(name),
                      formatSingle(day.db.settings.startAmount)};
    const StepOutcome added = day.folder.commit(FileChanges().append("players.dat", playerRecord(entry)));
    if (added || !added.notice.empty())
        day.prompter.message(added ? added.refused.message : added.notice, AppTitle);
    if (added)
        return false;
    list.highestNumberUsed = std::max(list.highestNumberUsed, entry.playerId);
    list.entries.push_back(std::move(entry));
    selectBettor(day, static_cast<int>(list.entries.size()) - 1);
    return true;
}

void selectBettor(RaceDay& day, int index) {
    PlayerList& list = day.players;
    if (index < 0 || index >= static_cast<int>(list.entries.size())) {
        list.selected = -1;
        return;
    }
    if (balanceOf(list.entries[static_cast<std::size_t>(index)]) < 1.0f) {
        day.prompter.message(list.entries[static_cast<std::size_t>(index)].name + ", you're out of cash!",
                             AppTitle);
        for (std::size_t k = 0; k < list.entries.size(); ++k) {
            if (balanceOf(list.entries[k]) >= 1.0f) {
                index = static_cast<int>(k);
                break;
            }
        }
    }
    list.selected = index;
    refreshBalanceLabel(list);
}

void refreshBalanceLabel(PlayerList& players) {
    if (players.selected >= 0 && players.selected < static_cast<int>(players.entries.size()))
        players.balanceLabel =
            moneyText(balanceOf(players.entries[static_cast<std::size_t>(players.selected)]));
}

bool deletePlayer(RaceDay& day) {
    PlayerList& list = day.players;
    if (list.selected < 0 || list.selected >= static_cast<int>(list.entries.size()))
        return false;
    if (!day.prompter.ask(DeletePlayerQuestion, AppTitle))
        return false;
    const int32_t number = list.entries[static_cast<std::size_t>(list.selected)].playerId;
    list.highestNumberUsed = std::max(list.highestNumberUsed, number);
    // Nobody is left to pay for them.
    std::erase_if(day.tickets, [&](const ListedTicket& t) { return t.playerId == number && !t.paid; });
    list.entries.erase(list.entries.begin() + list.selected);
    list.selected = -1;
    savePlayers(day);
    if (!list.entries.empty())
        selectBettor(day, 0);
    return true;
}

float balanceOf(const PlayerEntry& player) {
    float balance = 0;
    FieldReader(player.balance).read(balance);
    return balance;
}

void setBalance(PlayerEntry& player, float balance) {
    player.balance = formatSingle(balance);
}

int findPlayer(const PlayerList& players, int32_t playerId) {
    for (std::size_t i = 0; i < players.entries.size(); ++i)
        if (players.entries[i].playerId == playerId)
            return static_cast<int>(i);
    return -1;
}

} // namespace sw
