#include "BetType.h"
#include "core/Translate.h"

#include <array>

namespace sw {

namespace {

constexpr std::array<std::string_view, BetTypeCount> Words = {
    "Win",        "Place",       "Show",  "WPS",   "Quiniela", "Exacta",    "Trifecta",
    "Superfecta", "DailyDouble", "Pick3", "Pick6", "Twin-Tri", "Tri-Super",
};

constexpr std::array<std::string_view, 4> ModeWords = {"on", "Straight", "Box", "Wheel"};

} // namespace

std::string_view betWord(BetType type) {
    return Words[static_cast<std::size_t>(type)];
}

std::string betTitle(BetType type) {
    static constexpr std::array<const char*, BetTypeCount> Titles = {
        N_("Win"),    N_("Place"),    N_("Show"),       N_("Across The Board"), N_("Quiniela"),
        N_("Exacta"), N_("Trifecta"), N_("Superfecta"), N_("Daily Double"),     N_("Pick 3"),
        N_("Pick 6"), N_("Twin-Tri"), N_("Tri-Super")};
    return _(Titles[static_cast<std::size_t>(type)]);
}

std::optional<BetType> betTypeFromWord(std::string_view word) {
    for (std::size_t i = 0; i < Words.size(); ++i)
        if (Words[i] == word)
            return static_cast<BetType>(i);
    return std::nullopt;
}

std::string_view ticketFileWord(BetType type) {
    return type == BetType::DailyDouble ? std::string_view("Daily Double") : betWord(type);
}

std::string_view modeWord(BetMode mode) {
    return ModeWords[static_cast<std::size_t>(mode)];
}

std::optional<BetMode> modeFromWord(std::string_view word) {
    for (std::size_t i = 0; i < ModeWords.size(); ++i)
        if (ModeWords[i] == word)
            return static_cast<BetMode>(i);
    return std::nullopt;
}

bool isSingleHorseBet(BetType type) {
    return type == BetType::Win || type == BetType::Place || type == BetType::Show || type == BetType::WPS;
}

bool isMultiRace(BetType type) {
    return type == BetType::DailyDouble || type == BetType::Pick3 || type == BetType::Pick6;
}

bool isExchangeBet(BetType type) {
    return type == BetType::TwinTri || type == BetType::TriSuper;
}

BetType secondHalfOf(BetType type) {
    return type == BetType::TriSuper ? BetType::Superfecta : BetType::Trifecta;
}

std::string_view exchangeFileWord(BetType type) {
    return type == BetType::TriSuper ? std::string_view("Tri-Super Exchange") : "Twin-Tri Exchange";
}

int setsPerWheel(BetType type) {
    switch (type) {
    case BetType::Quiniela:
    case BetType::Exacta:
    case BetType::DailyDouble:
        return 2;
    case BetType::Trifecta:
    case BetType::TwinTri:
    case BetType::TriSuper:
    case BetType::Pick3:
        return 3;
    case BetType::Superfecta:
        return 4;
    case BetType::Pick6:
        return 6;
    default:
        return 1;
    }
}

int horsesPerCombination(BetType type) {
    switch (type) {
    case BetType::Quiniela:
    case BetType::Exacta:
        return 2;
    case BetType::Trifecta:
    case BetType::TwinTri:
    case BetType::TriSuper:
        return 3;
    case BetType::Superfecta:
        return 4;
    default:
        return 1;
    }
}

std::string_view minimumAmountLine(BetType type) {
    switch (type) {
    case BetType::Win:
        return N_("Minimum amount for Win is $2");
    case BetType::Place:
        return N_("Minimum amount for Place is $2");
    case BetType::Show:
        return N_("Minimum amount for Show is $2");
    case BetType::WPS:
        return N_("Minimum amount for Win,Place,Show is $2");
    default:
        return "";
    }
}

} // namespace sw
