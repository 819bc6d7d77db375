#pragma once

#include "core/Translate.h"

#include <string_view>

namespace sw {

// Fixed texts of the racing program and its print options, for the window to show (translated
// where shown). The column headings keep their English: their widths line up the columns.

inline constexpr std::string_view ProgramWindowTitle = N_("Past Performances");
inline constexpr std::string_view PurseHeading = N_("Purse");
inline constexpr std::string_view DistanceHeading = N_("Distance");
inline constexpr std::string_view ProgramDistanceText = N_("1 1/4 Miles");

inline constexpr std::string_view PastLinesHeader =
    "PP    \u00BC     \u00BD   L        \u00BE    L       Fin L              Time              Purse     Odds"
    "                 Comment";
// What a screen reader calls the pane of the entries, which scrolls.
inline constexpr std::string_view ProgramEntriesName = N_("The entries");
inline constexpr std::string_view JockeyStandingsCaption = N_("Jockey Standings");

inline constexpr std::string_view StartsTooltip = N_("Number of starts");
inline constexpr std::string_view FirstsTooltip = N_("Number of first place finishes");
inline constexpr std::string_view SecondsTooltip = N_("Number of second place finishes");
inline constexpr std::string_view ThirdsTooltip = N_("Number of third place finishes");
inline constexpr std::string_view FourthsTooltip = N_("Number of fourth place finishes");
inline constexpr std::string_view EarningsTooltip = N_("Amount of earnings");

inline constexpr std::string_view PrintProgramCaption = N_("Print Program");
inline constexpr std::string_view ToteBoardCaption = N_("Tote Board");
inline constexpr std::string_view ToteBoardTooltip = N_("Go to Tote Board ( Race and Betting Screen)");

inline constexpr std::string_view PrintOptionsTitle = N_("Print Options");
inline constexpr std::string_view PrintFromCaption = N_("From Race:");
inline constexpr std::string_view PrintToCaption = N_("To Race:");
inline constexpr std::string_view PrintButtonCaption = N_("Print");
inline constexpr std::string_view CancelButtonCaption = N_("Cancel");

inline constexpr std::string_view PrintFontName = "Courier";
inline constexpr std::string_view PrintColumnLine =
    "PP \u00BC  \u00BD    \u00BE   Fin   Time   Gr Odds Comment";

} // namespace sw
