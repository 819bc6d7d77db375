#pragma once

#include "core/Translate.h"

#include "BetType.h"
#include "core/RaceDay.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

class TicketList;

// The three pages of the bet entry.
inline constexpr int AmountPage = 0;
inline constexpr int BetPage = 1;
inline constexpr int HorsesPage = 2;

struct BetButton {
    BetType type;
    std::string_view button;
    std::string_view caption;
    std::string_view tooltip;
};
// The thirteen bet buttons in the order they are laid out.
const std::array<BetButton, BetTypeCount>& betButtons();

struct ModeButton {
    BetMode mode;
    std::string_view button;
    std::string_view caption;
    std::string_view tooltip;
};
// Straight, Box and Key/Wheel.
const std::array<ModeButton, 3>& modeButtons();

// What a bet or a mode button says to a screen reader: the bet and what it asks for, "Exacta:
// first and second in order", in the player's language.
std::string betButtonName(BetType type);
std::string modeButtonName(BetMode mode);
// The name a screen reader reads for the entry's panel, and for its buttons whose captions are arrows.
inline constexpr std::string_view BetEntryName = N_("Bet entry");
inline constexpr std::string_view NextToBetName = N_("Next: choose the bet");
inline constexpr std::string_view NextToHorsesName = N_("Next: choose the horses");
inline constexpr std::string_view ClearPickName = N_("Clear pick");

struct AmountPreset {
    std::string_view caption;
    int amount; // -1: the balance ("All")
};
inline constexpr int AllAmountPreset = 7;
// "$1" .. "$100" and "All".
const std::array<AmountPreset, 8>& amountPresets();

inline constexpr std::string_view AllAmountTooltip = N_("Your current balance");
inline constexpr std::string_view AmountSpinTooltip = N_("Increase/Decrease amount by $1");
// The "All" preset's tooltip while the pointer is over it: "$" and the balance number.
std::string allAmountPointerTooltip(const RaceDay& day);
// The tooltip of the entry's tabs while the pointer is over page `page`.
std::string_view pageTooltip(int page);

struct Instruction {
    std::string_view text;
    bool withUsable = false;
};
// What the horses page asks for, for the bet word, the mode word and the leg being picked (1..6).
Instruction instructionFor(std::string_view betName, std::string_view betKind, int leg);

// Building one ticket in three pages: the amount, the bet and its mode, then the horses of each
// position or race. The window shows this state and forwards clicks to the operations; an
// operation whose control is unusable does nothing and returns false.
class BetEntry {
public:
    // The state at the start of a day: page 0, the default bet amount, nothing chosen.
    void start(const RaceDay& day);

    // A ticket is built for one bettor. When another player becomes the bettor (chosen, added,
    // or taking over from a deleted one or one out of cash) the entry starts afresh: the default
    // amount, no bet, page 0, so nobody is handed the last player's ticket.
    void followBettor(const RaceDay& day);
    // Makes player `index` the bettor (one out of cash is passed over, saying so) and follows the
    // change. True when player `index` bets.
    bool selectBettor(RaceDay& day, int index);
    // cmdAmount(i): the preset amount, or for "All" the balance; kept within 0..32000.
    bool selectAmountPreset(const RaceDay& day, int preset);
    // udAmount changed: the amount follows it, kept within 0..32000.
    void amountSpinChanged(int value);
    // cmdNext1: on to the bet page (usable while a player is selected).
    bool nextToBet(RaceDay& day);
    // A bet button; a multi-race bet only in the race where it is offered, a Twin-Tri or
    // Tri-Super first half only while a race follows.
    bool chooseBetType(RaceDay& day, BetType type);
    // Starts the second half of the Twin-Tri or Tri-Super credit `number` of the race about to be
    // run: its owner becomes the bettor, its bet and amount are set, and the mode and the horses
    // (of a Trifecta or a Superfecta) follow as for any bet. False when no listed player holds
    // such a credit unexchanged, or its owner is out of cash and cannot be the bettor.
    bool startExchange(RaceDay& day, int32_t number);
    // The credit the ticket being built exchanges; 0 for any other ticket.
    int32_t exchange() const { return m_exchange; }
    // cmdStraight, cmdBox or cmdWheel, while modeButtonUsable(mode).
    bool chooseBetKind(BetMode mode);
    // cmdNext2: starts the ticket's legs with the amount, the bet and its mode; on to the horses.
    bool nextToHorses(RaceDay& day);
    // The page shown changes (by a tab click or by the operations): checks and instructions.
    void stageChanged(RaceDay& day, int page);
    // cmdHorse(index), index 0..7 for posts 1..8.
    bool pickHorse(int index);
    // cmdAll.
    bool pickAll();
    // Whether Finish is usable, from the horses picked in the current leg.
    void refreshFinish();
    // cmdWith: closes the current leg and starts the next.
    bool with(RaceDay& day);
    // cmdBack: removes the last pick of the current leg (all of it for "All").
    bool clearPick();
    // cmdFinish: lists the ticket for the selected player, prices it and returns to page 0.
    bool finish(RaceDay& day, TicketList& list);
    // cmdClear: drops the picks and legs, keeps the bet; back to page 0.
    void clearBet(RaceDay& day);
    // cmdCancelBet: forgets the bet and its mode.
    void cancelBet();

    int page() const { return m_page; }
    int currentLeg() const { return m_currentLeg; }
    const std::string& betAmount() const { return m_lblBetAmount; }  // lblBetAmount
    int amountSpin() const { return m_udAmount; }                    // udAmount
    const std::string& betNameLabel() const { return m_lblBetName; } // lblBetName
    const std::string& betKindLabel() const { return m_lblBetKind; } // lblBetKind
    const std::string& betName() const { return m_betName; }
    const std::string& betKind() const { return m_betKind; }
    const std::string& picks() const { return m_lblPicks; }         // lblPicks
    const std::vector<std::string>& legs() const { return m_legs; } // lstLegs
    std::string_view instruction() const { return m_instruct; }     // lblInstruct

    // The betting slip's line: the ticket as far as it is built, picks joined by "-", and once it
    // is a whole ticket what it costs, e.g. "$2 Exacta Box 1-3-4: 6 bets, $12".
    std::string slipLine() const;
    // What post `index`'s pick in the current leg is for: its place in a straight ("1st",
    // "2nd"..), the finishing place of a wheel's leg, "Key" or "With" in a quiniela wheel, "Leg n"
    // of a multi-race bet, "Box", or the bet of a one-horse bet. Empty when it is not picked.
    std::string pickMark(int index) const;
    // What horse button `index` says to a screen reader: the post, the horse and its odds in the
    // race of the leg being picked, "Post 3, Outrigger, 7/2"; a later race of a multi-race bet
    // is named, "Post 3 in race 4, Bluebell, 5/1".
    std::string horseButtonName(const RaceDay& day, int index) const;
    // "Exchanging credit 57 (Ann)" while the ticket built is a credit's second half; else empty.
    std::string exchangeBanner(const RaceDay& day) const;

    // cmdNext1: while a player is selected.
    static bool next1Usable(const RaceDay& day);
    // The first step a new player is shown, "Add a player to start betting", while nobody is
    // listed; empty once someone is.
    static std::string_view firstStep(const RaceDay& day);
    // cmdNext2: while both the bet and its mode are shown.
    bool next2Usable() const { return !m_lblBetName.empty() && !m_lblBetKind.empty(); }
    // cmdDouble, cmdPick3, cmdPick6 only in their opening race, cmdTwinTri and cmdTriSuper in
    // races 1 to 11; every other bet button always.
    static bool betButtonUsable(const RaceDay& day, BetType type);
    bool modeButtonsUsable() const { return m_modesUsable; }
    // One mode button: any of them while the bet takes a mode, only Straight on an exchange.
    bool modeButtonUsable(BetMode mode) const;
    // Why a mode button is unusable on an exchange; empty otherwise.
    std::string modeRefusal(BetMode mode) const;
    bool withUsable() const { return m_withUsable; }
    bool finishUsable() const { return m_finishUsable; }
    bool backUsable() const { return m_backUsable; }
    bool horseUsable(int index) const;

private:
    void goToPage(RaceDay& day, int page);
    void showInstruction();
    void setAmount(double value);
    void restartHorses();
    void startLegs();
    std::string legKindWord() const;
    int horsesPicked() const;
    // The bet whose combinations are being picked: a second half's Trifecta or Superfecta.
    std::optional<BetType> pickedShape() const;
    // The ticket text the legs and the picks of the current leg make, as Finish would list it.
    std::string draftText(const std::vector<std::string>& legs) const;

    int m_page = AmountPage;
    int m_currentLeg = 1;
    int m_udAmount = 0;
    std::string m_lblBetAmount = "0";
    std::string m_lblBetName;
    std::string m_lblBetKind;
    std::string m_betName;
    std::string m_betKind;
    std::string m_lblPicks;
    std::vector<std::string> m_legs;
    std::string_view m_instruct;
    std::array<bool, 8> m_horseUsable{true, true, true, true, true, true, true, true};
    bool m_modesUsable = false;
    bool m_withUsable = false;
    bool m_finishUsable = false;
    bool m_backUsable = false;
    int32_t m_exchange = 0;
    int32_t m_bettor = 0; // the player id the ticket is built for
};

} // namespace sw
