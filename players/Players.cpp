#include "Players.h"
#include "core/Translate.h"

#include "core/Constants.h"
#include "core/Format.h"
#include "core/TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

namespace sw {

namespace {

constexpr std::size_t MaxNameCharacters = 24;
constexpr char32_t ZeroWidthJoiner = 0x200D;

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

bool inRanges(char32_t cp, std::initializer_list<std::pair<char32_t, char32_t>> ranges) {
    for (const auto& [first, last] : ranges)
        if (cp >= first && cp <= last)
            return true;
    return false;
}

// Characters that show nothing on their own: spaces of every width, marks that sit on the
// character before them, variation selectors and fillers. A name of these alone looks blank.
bool showsNothing(char32_t cp) {
    return inRanges(
        cp, {
                {0x0020, 0x0020}, {0x00A0, 0x00A0}, {0x1680, 0x1680}, {0x2000, 0x200A},   {0x202F, 0x202F},
                {0x205F, 0x205F}, {0x3000, 0x3000}, {0x2800, 0x2800}, {0x115F, 0x1160},   {0x3164, 0x3164},
                {0xFFA0, 0xFFA0}, {0x034F, 0x034F}, {0x0300, 0x036F}, {0x0483, 0x0489},   {0x0591, 0x05BD},
                {0x05BF, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},   {0x06D6, 0x06ED},
                {0x0900, 0x0903}, {0x093A, 0x094F}, {0x0951, 0x0957}, {0x0E31, 0x0E31},   {0x0E34, 0x0E3A},
                {0x0E47, 0x0E4E}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x20D0, 0x20FF},   {0x302A, 0x302F},
                {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0x1F3FB, 0x1F3FF}, {0xE0100, 0xE01EF},
            });
}

// Pictographs that a zero-width joiner may join into one picture (a family, a flag, a job).
bool isPictograph(char32_t cp) {
    return inRanges(cp, {{0x00A9, 0x00A9},
                         {0x00AE, 0x00AE},
                         {0x203C, 0x203C},
                         {0x2049, 0x2049},
                         {0x2122, 0x2122},
                         {0x2139, 0x2139},
                         {0x2194, 0x21AA},
                         {0x2300, 0x23FF},
                         {0x24C2, 0x24C2},
                         {0x25A0, 0x27BF},
                         {0x2934, 0x2935},
                         {0x2B00, 0x2BFF},
                         {0x3030, 0x3030},
                         {0x303D, 0x303D},
                         {0x3297, 0x3299},
                         {0x1F000, 0x1FAFF}});
}

// The joiner is a part of an emoji only between two pictographs (a skin tone or a variation
// selector may come between the first and the joiner); anywhere else it hides in the name.
bool joinsPictographs(const std::vector<char32_t>& text, std::size_t at) {
    std::size_t before = at;
    while (before > 0 && (inRanges(text[before - 1], {{0xFE0E, 0xFE0F}, {0x1F3FB, 0x1F3FF}})))
        --before;
    return before > 0 && isPictograph(text[before - 1]) && at + 1 < text.size() && isPictograph(text[at + 1]);
}

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::string playerRecord(const PlayerEntry& entry) {
    return RecordWriter().integer(entry.playerId).text(entry.name).text(entry.balance).line();
}

// The lowest number from 1 up that no listed player holds and nobody deleted today held, or 0
// when none is. Whatever numbers a hand edit gave, the list always leaves one free at most one
// past its length.
int32_t lowestFreeNumber(const PlayerList& list) {
    const std::size_t taken = list.entries.size() + list.retiredNumbers.size();
    std::vector<bool> used(taken + 2, false);
    auto mark = [&](int32_t number) {
        if (number >= 1 && static_cast<std::size_t>(number) < used.size())
            used[static_cast<std::size_t>(number)] = true;
    };
    for (const PlayerEntry& entry : list.entries)
        mark(entry.playerId);
    for (int32_t number : list.retiredNumbers)
        mark(number);
    for (std::size_t number = 1; number < used.size(); ++number)
        if (!used[number])
            return number <= static_cast<std::size_t>(std::numeric_limits<int32_t>::max())
                       ? static_cast<int32_t>(number)
                       : 0;
    return 0;
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
    list.retiredNumbers.clear();
    const FileContent content = day.folder.read("players.dat");
    // A players.dat that exists but cannot be read is kept for when it can: rewriting it from
    // what was read would lose the players. The folder refuses every later write of it.
    day.folder.noteLoad("players.dat", content.status);
    if (content.status == ReadStatus::Unreadable) {
        day.prompter.message(fillIn(_("Error reading {0}"), "players.dat"), MessageTitle);
        return;
    }
    list.entries = parsePlayers(content.bytes);
    // The stored balances are passed over: every day starts at the starting amount.
    const std::string startText = centsField(day.db.settings.startAmount);
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
        return _("Please enter the player's name.");
    std::vector<char32_t> characters;
    if (!decodeUtf8(trimmed, characters))
        return _("The name holds characters that cannot be stored. Please type it again.");
    bool visible = false;
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const char32_t c = characters[i];
        if (c == U',')
            return _("A player's name cannot contain a comma.");
        if (isControl(c) || c == 0x2028 || c == 0x2029)
            return _("A player's name cannot contain control characters such as tabs or line breaks.");
        if (c == ZeroWidthJoiner && joinsPictographs(characters, i))
            continue;
        if (isFormatCharacter(c))
            return _("A player's name cannot contain invisible formatting characters such as direction marks "
                     "or zero-width spaces.");
        visible = visible || !showsNothing(c);
    }
    if (!visible)
        return _("Please enter the player's name.");
    if (characters.size() > MaxNameCharacters)
        return fillIn(_("A player's name can be at most {0} characters long."), MaxNameCharacters);
    return std::nullopt;
}

bool addPlayer(RaceDay& day, std::string_view name) {
    if (auto problem = playerNameProblem(name)) {
        day.prompter.message(*problem, AppTitle);
        return false;
    }
    PlayerList& list = day.players;
    const int32_t number = lowestFreeNumber(list);
    if (number == 0) {
        day.prompter.message(_("No further player number is free in players.dat."), AppTitle);
        return false;
    }
    PlayerEntry entry{number, trimName(name), centsField(day.db.settings.startAmount)};
    const StepOutcome added = day.folder.commit(FileChanges().append("players.dat", playerRecord(entry)));
    if (added || !added.notice.empty())
        day.prompter.message(added ? added.refused.message : added.notice, AppTitle);
    if (added)
        return false;
    list.entries.push_back(std::move(entry));
    selectBettor(day, static_cast<int>(list.entries.size()) - 1);
    return true;
}

std::string selectBettorQuietly(PlayerList& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.entries.size())) {
        list.selected = -1;
        return {};
    }
    std::string note;
    if (balanceOf(list.entries[static_cast<std::size_t>(index)]) < CentsPerDollar) {
        note = fillIn(_("{0}, you're out of cash!"), list.entries[static_cast<std::size_t>(index)].name);
        for (std::size_t k = 0; k < list.entries.size(); ++k) {
            if (balanceOf(list.entries[k]) >= CentsPerDollar) {
                index = static_cast<int>(k);
                // Nobody should bet in someone else's name without being told.
                note += " " + fillIn(_("{0} is betting now."), list.entries[k].name);
                break;
            }
        }
    }
    list.selected = index;
    refreshBalanceLabel(list);
    return note;
}

void selectBettor(RaceDay& day, int index) {
    if (const std::string note = selectBettorQuietly(day.players, index); !note.empty())
        day.prompter.message(note, AppTitle);
}

void refreshBalanceLabel(PlayerList& players) {
    if (players.selected >= 0 && players.selected < static_cast<int>(players.entries.size()))
        players.balanceLabel =
            centsText(balanceOf(players.entries[static_cast<std::size_t>(players.selected)]));
}

bool deletePlayer(RaceDay& day) {
    PlayerList& list = day.players;
    if (list.selected < 0 || list.selected >= static_cast<int>(list.entries.size()))
        return false;
    const int32_t number = list.entries[static_cast<std::size_t>(list.selected)].playerId;
    list.retiredNumbers.push_back(number);
    // Nobody is left to pay for them.
    std::erase_if(day.tickets, [&](const ListedTicket& t) { return t.playerId == number && !t.paid; });
    list.entries.erase(list.entries.begin() + list.selected);
    list.selected = -1;
    savePlayers(day);
    if (!list.entries.empty())
        selectBettor(day, 0);
    return true;
}

std::optional<Cents> readBalance(const PlayerEntry& player) {
    // The field reader's rule: the first field, its leading blanks skipped.
    return parseCents(FieldReader(player.balance).next());
}

Cents balanceOf(const PlayerEntry& player) {
    return readBalance(player).value_or(0);
}

void setBalance(PlayerEntry& player, Cents balance) {
    player.balance = centsField(balance);
}

int findPlayer(const PlayerList& players, int32_t playerId) {
    for (std::size_t i = 0; i < players.entries.size(); ++i)
        if (players.entries[i].playerId == playerId)
            return static_cast<int>(i);
    return -1;
}

} // namespace sw
