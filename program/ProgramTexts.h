#pragma once

#include <string_view>

namespace sw {

// Fixed texts of the racing program and its print options, for the window to show.

inline constexpr std::string_view ProgramWindowTitle = "Past Performances";
inline constexpr std::string_view PurseHeading = "Purse";
inline constexpr std::string_view DistanceHeading = "Distance";
inline constexpr std::string_view ProgramDistanceText = "1 1/4 Miles";

inline constexpr std::string_view PastLinesHeader =
    "PP    \u00BC     \u00BD   L        \u00BE    L       Fin L              Time              Purse     Odds"
    "                 Comment";
inline constexpr std::string_view JockeyStandingsCaption = "Jockey Standings";
inline constexpr std::string_view JockeyStandingsHeader =
    "Name                                           Starts         Firsts    Seconds    Thirds    Fourths    "
    "Earnings";

inline constexpr std::string_view StartsTooltip = "Number of starts";
inline constexpr std::string_view FirstsTooltip = "Number of first place finishes";
inline constexpr std::string_view SecondsTooltip = "Number of second place finishes";
inline constexpr std::string_view ThirdsTooltip = "Number of third place finishes";
inline constexpr std::string_view FourthsTooltip = "Number of fourth place finishes";
inline constexpr std::string_view EarningsTooltip = "Amount of earnings";

inline constexpr std::string_view PrintProgramCaption = "Print Program";
inline constexpr std::string_view ToteBoardCaption = "Tote Board";
inline constexpr std::string_view ToteBoardTooltip = "Go to Tote Board ( Race and Betting Screen)";

inline constexpr std::string_view PrintOptionsTitle = "Print Options";
inline constexpr std::string_view PrintFromCaption = "From Race:";
inline constexpr std::string_view PrintToCaption = "To Race:";
inline constexpr std::string_view PrintButtonCaption = "Print";
inline constexpr std::string_view CancelButtonCaption = "Cancel";

inline constexpr std::string_view PrintFontName = "Courier";
inline constexpr std::string_view PrintColumnLine =
    "PP \u00BC  \u00BD    \u00BE   Fin   Time   Gr Odds Comment";

} // namespace sw
