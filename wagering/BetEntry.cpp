#include "BetEntry.h"
#include "core/Translate.h"

#include "ExchangeCredits.h"
#include "TicketList.h"
#include "TicketPricing.h"
#include "core/Constants.h"
#include "core/Format.h"
#include "core/TextEncoding.h"
#include "players/Players.h"
#include "tote/Tote.h"

#include <algorithm>
#include <cmath>

namespace sw {

namespace {

constexpr std::string_view StraightWord = "Straight";

bool isStraightExotic(std::optional<BetType> type) {
    return type && !isSingleHorseBet(*type) && !isMultiRace(*type);
}

double numberIn(std::string_view text) {
    double value = 0;
    return parseLeadingNumber(text, value) ? value : 0;
}

// Win, Place, Show and Across The Board: an amount below the minimum is raised to it, saying so.
bool raiseToMinimum(RaceDay& day, BetType type, std::string& amount) {
    if (numberIn(amount) >= MinimumSingleHorseAmount)
        return false;
    day.prompter.message(_(minimumAmountLine(type)) + "\r\n" + _("Your amount will be set $2"), AppTitle);
    amount = std::to_string(MinimumSingleHorseAmount);
    return true;
}

// The leg words of the wheels: nth finishing position, nth race of a multi-race bet.
constexpr std::array<std::string_view, 6> Ordinal = {N_("1st"), N_("2nd"), N_("3rd"),
                                                     N_("4th"), N_("5th"), N_("6th")};

int32_t selectedPlayerId(const RaceDay& day) {
    const PlayerList& players = day.players;
    return players.selected >= 0 && players.selected < static_cast<int>(players.entries.size())
               ? players.entries[static_cast<std::size_t>(players.selected)].playerId
               : 0;
}

} // namespace

const std::array<BetButton, BetTypeCount>& betButtons() {
    static const std::array<BetButton, BetTypeCount> buttons = {{
        {BetType::Win, "cmdWin", N_("Win"), N_("1st place only")},
        {BetType::Place, "cmdPlace", N_("Place"), N_("1st or 2nd place")},
        {BetType::Show, "cmdShow", N_("Show"), N_("1st, 2nd, or 3rd place")},
        {BetType::WPS, "cmdAcross", N_("Across The Board"), N_("Win,Place, & Show")},
        {BetType::Quiniela, "cmdQuiniela", N_("Quiniela"), N_("1st and 2nd in any order")},
        {BetType::Exacta, "cmdExacta", N_("Exacta"),
         N_("1st and 2nd in exact order (Also known as Perfecta)")},
        {BetType::Trifecta, "cmdTrifecta", N_("Trifecta"), N_("1st, 2nd, and 3rd in exact order")},
        {BetType::Superfecta, "cmdSuper", N_("Superfecta"), N_("1st thru 4th in exact order")},
        {BetType::DailyDouble, "cmdDouble", N_("DailyDouble"), N_("1st place in 2 consecutive races")},
        {BetType::Pick3, "cmdPick3", N_("Pick3"),
         N_("1st place in 3 consecutive races (Also known as Bet 3)")},
        {BetType::Pick6, "cmdPick6", N_("Pick6"), N_("1st place in 6 consecutive races")},
        {BetType::TwinTri, "cmdTwinTri", N_("Twin-Tri"),
         N_("Two Trifectas in 2 races. A winning Trifecta here is exchanged for a Trifecta of the next race "
            "(races 1 to 11)")},
        {BetType::TriSuper, "cmdTriSuper", N_("Tri-Super"),
         N_("Trifecta in one race, Superfecta in 2nd race. A winning Trifecta here is exchanged for a "
            "Superfecta of the next race (races 1 to 11)")},
    }};
    return buttons;
}

const std::array<ModeButton, 3>& modeButtons() {
    static const std::array<ModeButton, 3> buttons = {{
        {BetMode::Straight, "cmdStraight", N_("Straight"), N_("single combination")},
        {BetMode::Box, "cmdBox", N_("Box"), N_("2 or more horses in all combinations")},
        {BetMode::Wheel, "cmdWheel", N_("Key/Wheel"), N_("One horse with some or all")},
    }};
    return buttons;
}

std::string betButtonName(BetType type) {
    switch (type) {
    case BetType::Win:
        return _("Win: first place");
    case BetType::Place:
        return _("Place: first or second");
    case BetType::Show:
        return _("Show: first, second or third");
    case BetType::WPS:
        return _("Across the Board: win, place and show");
    case BetType::Quiniela:
        return _("Quiniela: first and second in either order");
    case BetType::Exacta:
        return _("Exacta: first and second in order");
    case BetType::Trifecta:
        return _("Trifecta: first, second and third in order");
    case BetType::Superfecta:
        return _("Superfecta: first to fourth in order");
    case BetType::DailyDouble:
        return _("Daily Double: the winners of two races in a row");
    case BetType::Pick3:
        return _("Pick 3: the winners of three races in a row");
    case BetType::Pick6:
        return _("Pick 6: the winners of six races in a row");
    case BetType::TwinTri:
        return _("Twin-Tri: a trifecta here, exchanged for a trifecta of the next race");
    case BetType::TriSuper:
        return _("Tri-Super: a trifecta here, exchanged for a superfecta of the next race");
    }
    return {};
}

std::string modeButtonName(BetMode mode) {
    switch (mode) {
    case BetMode::Straight:
        return _("Straight: one combination");
    case BetMode::Box:
        return _("Box: the horses in every order");
    case BetMode::Wheel:
        return _("Key/Wheel: a key horse with some or all others");
    case BetMode::On:
        break;
    }
    return {};
}

const std::array<AmountPreset, 8>& amountPresets() {
    static const std::array<AmountPreset, 8> presets = {{
        {"$1", 1},
        {"$2", 2},
        {"$5", 5},
        {"$10", 10},
        {"$20", 20},
        {"$50", 50},
        {"$100", 100},
        {N_("All"), -1},
    }};
    return presets;
}

std::string allAmountPointerTooltip(const RaceDay& day) {
    return "$" + centsField(parseCents(day.players.balanceLabel).value_or(0));
}

std::string_view pageTooltip(int page) {
    switch (page) {
    case AmountPage:
        return N_("Select player and amount per bet, then click on the Next button.");
    case BetPage:
        return N_(
            "Select type of bet, Box, Wheel or Straight (if necessary), then click on the Next button.");
    default:
        return "";
    }
}

Instruction instructionFor(std::string_view betName, std::string_view betKind, int leg) {
    auto type = betTypeFromWord(betName);
    if (!type)
        return {};
    leg = std::clamp(leg, 1, 6);
    if (isSingleHorseBet(*type))
        return {N_("Choose 1 or more horses then click the Finish button"), false};

    if (*type == BetType::DailyDouble) {
        if (leg == 1)
            return {N_("Choose 1 or more horses to come in 1st place on the 1st half of Daily Double, then "
                       "click the "
                       "With button"),
                    true};
        return {
            N_("Choose 1 or more horses to come in 1st place on the 2nd half of the Daily Double, then click "
               "the Finish button"),
            false};
    }
    if (*type == BetType::Pick3 || *type == BetType::Pick6) {
        // Whole sentences, one a leg, so that each is translated as a whole.
        static constexpr std::array<const char*, 3> pick3 = {
            N_("Choose 1 or more horses to come in 1st place on the 1st race of the Pick 3, then click the "
               "With "
               "button"),
            N_("Choose 1 or more horses to come in 1st place on the 2nd race of the Pick 3, then click the "
               "With "
               "button"),
            N_("Choose 1 or more horses to come in 1st place on the 3rd race of the Pick 3, then click the "
               "Finish "
               "button")};
        static constexpr std::array<const char*, 6> pick6 = {
            N_("Choose 1 or more horses to come in 1st place on the 1st race of the Pick 6, then click the "
               "With "
               "button"),
            N_("Choose 1 or more horses to come in 1st place on the 2nd race of the Pick 6, then click the "
               "With "
               "button"),
            N_("Choose 1 or more horses to come in 1st place on the 3rd race of the Pick 6, then click the "
               "With "
               "button"),
            N_("Choose 1 or more horses to come in 1st place on the 4th race of the Pick 6, then click the "
               "With "
               "button"),
            N_("Choose 1 or more horses to come in 1st place on the 5th race of the Pick 6, then click the "
               "With "
               "button"),
            N_("Choose 1 or more horses to come in 1st place on the 6th race of the Pick 6, then click the "
               "Finish "
               "button")};
        int legs = setsPerWheel(*type);
        int i = std::min(leg, legs) - 1;
        return {*type == BetType::Pick3 ? pick3[i] : pick6[i], i < legs - 1};
    }

    int horses = horsesPerCombination(*type);
    if (betKind == "Box") {
        static const std::array<std::string_view, 3> box = {
            N_("Choose 2 or more horses then click the Finish button"),
            N_("Choose 3 or more horses then click the Finish button"),
            N_("Choose 4 or more horses then click the Finish button")};
        return {box[horses - 2], false};
    }
    if (betKind == "Wheel") {
        if (*type == BetType::Quiniela)
            return leg == 1
                       ? Instruction{N_("Choose 1 horse as your key horse you're going to wheel then click "
                                        "the "
                                        "With button"),
                                     true}
                       : Instruction{
                             N_("Choose 1 or more horse to complete the wheel then click the Finish button"),
                             false};
        static constexpr std::array<std::array<const char*, 4>, 2> wheel = {{
            {N_("Choose 1 or more horses to come in 1st place, then click the With button"),
             N_("Choose 1 or more horses to come in 2nd place, then click the With button"),
             N_("Choose 1 or more horses to come in 3rd place, then click the With button"),
             N_("Choose 1 or more horses to come in 4th place, then click the With button")},
            {N_("Choose 1 or more horses to come in 1st place, then click the Finish button"),
             N_("Choose 1 or more horses to come in 2nd place, then click the Finish button"),
             N_("Choose 1 or more horses to come in 3rd place, then click the Finish button"),
             N_("Choose 1 or more horses to come in 4th place, then click the Finish button")},
        }};
        int i = std::min(leg, horses) - 1;
        bool last = i == horses - 1;
        return {wheel[last ? 1 : 0][i], !last};
    }
    static const std::array<std::string_view, 3> straight = {
        N_("Choose 2 horses then click the Finish button"),
        N_("Choose 3 horses in exact order then click the Finish button"),
        N_("Choose 4 horses in exact order then click the Finish button")};
    return {straight[horses - 2], false};
}

void BetEntry::start(const RaceDay& day) {
    *this = BetEntry{};
    setAmount(centsToDollars(day.db.settings.defaultBetAmount));
    m_bettor = selectedPlayerId(day);
}

void BetEntry::setAmount(double value) {
    if (!std::isfinite(value))
        value = 0;
    double rounded = static_cast<double>(roundHalfEven(std::clamp(value, -1.0, MaxBetAmount + 1.0)));
    m_udAmount = static_cast<int>(std::clamp(rounded, 0.0, static_cast<double>(MaxBetAmount)));
    m_lblBetAmount = std::to_string(m_udAmount);
}

void BetEntry::followBettor(const RaceDay& day) {
    if (selectedPlayerId(day) != m_bettor)
        start(day);
}

bool BetEntry::selectBettor(RaceDay& day, int index) {
    if (index < 0 || index >= static_cast<int>(day.players.entries.size()))
        return false;
    sw::selectBettor(day, index);
    followBettor(day);
    return day.players.selected == index;
}

bool BetEntry::selectAmountPreset(const RaceDay& day, int preset) {
    if (preset < 0 || preset >= static_cast<int>(amountPresets().size()))
        return false;
    int amount = amountPresets()[static_cast<std::size_t>(preset)].amount;
    setAmount(amount < 0 ? numberIn(day.players.balanceLabel) : amount);
    return true;
}

void BetEntry::amountSpinChanged(int value) {
    setAmount(value);
}

bool BetEntry::next1Usable(const RaceDay& day) {
    return day.players.selected >= 0 && day.players.selected < static_cast<int>(day.players.entries.size());
}

std::string_view BetEntry::firstStep(const RaceDay& day) {
    return day.players.entries.empty() ? std::string_view(N_("Add a player to start betting"))
                                       : std::string_view();
}

bool BetEntry::betButtonUsable(const RaceDay& day, BetType type) {
    switch (type) {
    case BetType::DailyDouble:
        return day.dailyDoubleOffered;
    case BetType::Pick3:
        return day.pick3Offered;
    case BetType::Pick6:
        return day.pick6Offered;
    case BetType::TwinTri:
    case BetType::TriSuper:
        return day.exchangeBetsOffered;
    default:
        return true;
    }
}

bool BetEntry::horseUsable(int index) const {
    return index >= 0 && index < 8 && m_horseUsable[static_cast<std::size_t>(index)];
}

int BetEntry::horsesPicked() const {
    return static_cast<int>(std::count(m_horseUsable.begin(), m_horseUsable.end(), false));
}

bool BetEntry::nextToBet(RaceDay& day) {
    if (!next1Usable(day))
        return false;
    goToPage(day, BetPage);
    return true;
}

bool BetEntry::chooseBetType(RaceDay& day, BetType type) {
    if (!betButtonUsable(day, type))
        return false;
    std::string word(betWord(type));
    m_exchange = 0;
    if (isSingleHorseBet(type)) {
        // The spinner follows the label, so the amount the player sees is the amount bet.
        if (raiseToMinimum(day, type, m_lblBetAmount))
            setAmount(MinimumSingleHorseAmount);
        m_lblBetName = m_betName = word;
        m_lblBetKind = m_betKind = StraightWord;
        m_modesUsable = false;
        refreshFinish();
    } else if (isMultiRace(type)) {
        m_lblBetKind = m_betKind = N_("Wheel");
        m_lblBetName = m_betName = word;
        m_modesUsable = false;
    } else {
        m_lblBetName = m_betName = word;
        m_modesUsable = true;
    }
    return true;
}

bool BetEntry::startExchange(RaceDay& day, int32_t number) {
    for (const ExchangeCredit& credit : creditsOfRace(day)) {
        auto type = betTypeFromWord(credit.betType);
        const int owner = findPlayer(day.players, credit.playerId);
        if (credit.number != number || credit.exchangedBy != 0 || !type || !isExchangeBet(*type) || owner < 0)
            continue;
        // The exchange is the owner's ticket: the owner becomes the bettor, unless out of cash
        // (then the credit is paid out with the race).
        if (owner != day.players.selected)
            selectBettor(day, owner);
        if (day.players.selected != owner)
            return false;
        followBettor(day);
        m_exchange = number;
        setAmount(credit.amount);
        m_lblBetName = m_betName = credit.betType;
        // One credit buys one combination: the second half is always Straight.
        m_lblBetKind = m_betKind = StraightWord;
        m_modesUsable = true;
        goToPage(day, BetPage);
        return true;
    }
    return false;
}

bool BetEntry::modeButtonUsable(BetMode mode) const {
    return m_modesUsable && mode != BetMode::On && (m_exchange == 0 || mode == BetMode::Straight);
}

std::string BetEntry::modeRefusal(BetMode mode) const {
    auto type = betTypeFromWord(m_lblBetName);
    if (m_exchange == 0 || mode == BetMode::Straight || !type)
        return {};
    return exchangeModeRefusal(*type, m_exchange, m_udAmount);
}

bool BetEntry::chooseBetKind(BetMode mode) {
    if (!modeButtonUsable(mode))
        return false;
    m_lblBetKind = m_betKind = modeWord(mode);
    return true;
}

std::string BetEntry::legKindWord() const {
    auto type = betTypeFromWord(m_betName);
    return type && isSingleHorseBet(*type) ? std::string(modeWord(BetMode::On)) : m_betKind;
}

void BetEntry::restartHorses() {
    m_currentLeg = 1;
    m_lblPicks.clear();
    m_horseUsable.fill(true);
    m_backUsable = false;
}

void BetEntry::startLegs() {
    m_betName = m_lblBetName;
    m_legs = {m_lblBetAmount, m_betName, legKindWord()};
}

bool BetEntry::nextToHorses(RaceDay& day) {
    if (!next2Usable())
        return false;
    // A fresh set of legs means fresh picks: old picks would no longer match the legs listed.
    startLegs();
    restartHorses();
    goToPage(day, HorsesPage);
    return true;
}

void BetEntry::goToPage(RaceDay& day, int page) {
    stageChanged(day, page);
}

void BetEntry::stageChanged(RaceDay& day, int page) {
    m_page = std::clamp(page, AmountPage, HorsesPage);
    m_betName = m_lblBetName;
    if (m_betKind.empty())
        m_lblBetKind = m_betKind = StraightWord;

    if (m_page == AmountPage)
        return;
    if (!next1Usable(day)) {
        goToPage(day, AmountPage);
        day.prompter.message(_("Need to add a player."), AppTitle);
        return;
    }
    if (m_page == BetPage)
        return;
    if (m_lblBetName.empty() || m_lblBetKind.empty()) {
        day.prompter.message(_("Please make bet selection and/or select between Wheel, Box, or Straight."),
                             AppTitle);
        goToPage(day, BetPage);
        return;
    }
    // Reached by a tab click the legs may be missing or belong to another bet; such a ticket
    // could not be read back, so its horses start over.
    if (m_legs.size() < 3 || m_legs[1] != m_betName || m_legs[2] != legKindWord()) {
        startLegs();
        restartHorses();
    }
    showInstruction();
}

std::optional<BetType> BetEntry::pickedShape() const {
    auto type = betTypeFromWord(m_betName);
    if (type && isExchangeBet(*type))
        return m_exchange > 0 ? secondHalfOf(*type) : BetType::Trifecta;
    return type;
}

void BetEntry::showInstruction() {
    auto shape = pickedShape();
    Instruction step = instructionFor(shape ? betWord(*shape) : m_betName, m_betKind, m_currentLeg);
    m_instruct = step.text;
    m_withUsable = step.withUsable;
    m_finishUsable = false;
}

bool BetEntry::pickHorse(int index) {
    if (m_page != HorsesPage || !horseUsable(index))
        return false;
    // A straight combination cannot take more horses than it needs.
    bool full = m_finishUsable && m_betKind == StraightWord && isStraightExotic(pickedShape());
    if (!full) {
        m_lblPicks.push_back(static_cast<char>('1' + index));
        m_horseUsable[static_cast<std::size_t>(index)] = false;
        m_backUsable = true;
    }
    refreshFinish();
    return !full;
}

bool BetEntry::pickAll() {
    if (m_page != HorsesPage)
        return false;
    m_lblPicks = "All";
    m_horseUsable.fill(false);
    m_backUsable = true;
    refreshFinish();
    return true;
}

void BetEntry::refreshFinish() {
    m_betName = m_lblBetName;
    if (m_betKind.empty())
        m_betKind = StraightWord;
    auto type = pickedShape();
    if (!type)
        return;
    int picked = horsesPicked();
    // The last set of a wheel, or the one set of a Win to WPS bet: any horse at all will do, but
    // never none.
    if (!m_withUsable && (isSingleHorseBet(*type) || m_betKind == "Wheel")) {
        m_finishUsable = picked >= 1;
        return;
    }
    if (isMultiRace(*type))
        return;
    int needed = horsesPerCombination(*type);
    if (m_betKind == "Box")
        m_finishUsable = picked >= needed;
    else if (m_betKind == StraightWord)
        m_finishUsable = picked == needed;
}

bool BetEntry::with(RaceDay& day) {
    if (m_page != HorsesPage || !m_withUsable)
        return false;
    if (m_lblPicks.empty()) {
        day.prompter.message(_("Please select your horse(s) before clicking the With button."), AppTitle);
        return false;
    }
    ++m_currentLeg;
    m_legs.push_back(m_lblPicks);
    m_lblPicks.clear();
    m_backUsable = false;
    showInstruction();
    m_horseUsable.fill(true);
    return true;
}

bool BetEntry::clearPick() {
    if (m_page != HorsesPage || m_lblPicks.empty())
        return false;
    if (m_lblPicks == "All") {
        m_horseUsable.fill(true);
        m_lblPicks.clear();
    } else {
        int post = m_lblPicks.back() - '0';
        m_lblPicks.pop_back();
        if (post >= 1 && post <= 8)
            m_horseUsable[static_cast<std::size_t>(post - 1)] = true;
    }
    if (m_lblPicks.empty())
        m_backUsable = false;
    // Finish follows the picks, so a ticket is never listed short of horses.
    refreshFinish();
    return true;
}

bool BetEntry::finish(RaceDay& day, TicketList& list) {
    if (m_page != HorsesPage || !m_finishUsable)
        return false;
    std::vector<std::string> legs = m_legs;
    legs.push_back(m_lblPicks);
    // The amount may have been lowered after the bet button checked it.
    if (auto type = betTypeFromWord(legs.size() > 1 ? legs[1] : std::string());
        type && isSingleHorseBet(*type) && raiseToMinimum(day, *type, legs[0]))
        setAmount(MinimumSingleHorseAmount);
    const std::string text = draftText(legs);
    std::string error;
    if (!list.listTicket(day, text, &error)) {
        day.prompter.message(error, AppTitle);
        return false;
    }
    m_legs.clear();
    m_lblPicks.clear();
    m_horseUsable.fill(true);
    m_currentLeg = 1;
    m_exchange = 0;
    goToPage(day, AmountPage);
    return true;
}

std::string BetEntry::draftText(const std::vector<std::string>& legs) const {
    std::string text = "$" + (legs.empty() ? std::string() : legs[0]) + " " +
                       (legs.size() > 1 ? legs[1] : std::string()) + " ";
    if (m_exchange > 0)
        text += std::string(ExchangeWord) + " " + std::to_string(m_exchange) + " ";
    for (std::size_t i = 2; i < legs.size(); ++i) {
        if (i == legs.size() - 1)
            text += legs[i];
        else if (i == 2)
            text += legs[i] + " ";
        else
            text += legs[i] + " with ";
    }
    return text;
}

std::string BetEntry::slipLine() const {
    // Before the horses page the legs are not started: the slip reads the labels.
    std::vector<std::string> legs = m_legs;
    if (legs.size() < 3) {
        auto type = betTypeFromWord(m_lblBetName);
        legs = {m_lblBetAmount, m_lblBetName,
                type && isSingleHorseBet(*type) ? std::string(modeWord(BetMode::On)) : m_lblBetKind};
    }
    if (m_page == HorsesPage && !m_lblPicks.empty())
        legs.push_back(m_lblPicks);
    std::string line = "$" + legs[0];
    for (std::size_t i = 1; i < legs.size(); ++i) {
        if (legs[i].empty())
            continue;
        line += i > 3 ? " with " : " ";
        if (i < 3 || legs[i] == "All") {
            line += legs[i];
            continue;
        }
        for (std::size_t k = 0; k < legs[i].size(); ++k)
            line += (k > 0 ? "-" : "") + legs[i].substr(k, 1);
    }
    // Only a whole ticket has a price; a wheel short of a leg or a box short of horses has none.
    if (legs.size() > 3 && parseTicketText(draftText(legs))) {
        const TicketPrice price = priceTicket(draftText(legs));
        if (price.count > 0)
            line += fillIn(_n(": {0} bet, ${1}", ": {0} bets, ${1}", static_cast<unsigned long>(price.count)),
                           price.count, price.cost);
    }
    return line;
}

std::string BetEntry::pickMark(int index) const {
    if (m_page != HorsesPage || index < 0 || index >= 8 || m_lblPicks.empty())
        return {};
    const char post = static_cast<char>('1' + index);
    const bool all = m_lblPicks == "All";
    const std::size_t at = all ? 0 : m_lblPicks.find(post);
    auto type = pickedShape();
    if (at == std::string::npos || !type)
        return {};
    if (isSingleHorseBet(*type))
        return std::string(betWord(*type));
    if (isMultiRace(*type))
        return "Leg " + std::to_string(m_currentLeg);
    if (m_betKind == "Box")
        return "Box";
    if (m_betKind == "Wheel") {
        if (*type == BetType::Quiniela)
            return m_currentLeg == 1 ? N_("Key") : N_("With");
        return std::string(Ordinal[static_cast<std::size_t>(std::clamp(m_currentLeg, 1, 6) - 1)]);
    }
    return all ? "All" : std::string(Ordinal[std::min<std::size_t>(at, Ordinal.size() - 1)]);
}

std::string BetEntry::horseButtonName(const RaceDay& day, int index) const {
    if (index < 0 || index >= FieldSize)
        return {};
    const auto entry = static_cast<std::size_t>(index);
    const auto type = pickedShape();
    const int leg = type && isMultiRace(*type) ? m_currentLeg - 1 : 0;
    const int race = std::min(day.currentRace + leg, RacesPerDay - 1);
    // The board pads short odds to its column; a reader needs no padding.
    const auto odds = [](float value) {
        std::string text = oddsText(value);
        return text.substr(std::min(text.find_first_not_of(' '), text.size()));
    };
    if (race == day.currentRace)
        return fillIn(_("Post {0}, {1}, {2}"), index + 1, day.entries.name[entry],
                      odds(day.pools.winOdds[entry]));
    const auto r = static_cast<std::size_t>(race);
    const auto horse = static_cast<std::size_t>(day.card.raceHorse[r][entry]);
    const std::string& name = horse < day.db.horses.size() ? day.db.horses[horse].name : std::string();
    return fillIn(_("Post {0} in race {1}, {2}, {3}"), index + 1, race + 1, name,
                  odds(day.pools.oddsByRace[r + 1][entry]));
}

std::string BetEntry::exchangeBanner(const RaceDay& day) const {
    if (m_exchange == 0)
        return {};
    for (const ExchangeCredit& credit : creditsOfRace(day)) {
        if (credit.number != m_exchange)
            continue;
        const int owner = findPlayer(day.players, credit.playerId);
        if (owner >= 0)
            return fillIn(_("Exchanging credit {0} ({1})"), m_exchange,
                          day.players.entries[static_cast<std::size_t>(owner)].name);
    }
    return fillIn(_("Exchanging credit {0}"), m_exchange);
}

void BetEntry::clearBet(RaceDay& day) {
    m_lblPicks.clear();
    m_legs.clear();
    m_horseUsable.fill(true);
    m_backUsable = false;
    m_currentLeg = 1;
    goToPage(day, AmountPage);
}

void BetEntry::cancelBet() {
    m_exchange = 0;
    m_lblBetName.clear();
    m_lblBetKind.clear();
    m_betKind.clear();
    m_currentLeg = 1;
    m_modesUsable = false;
}

} // namespace sw
