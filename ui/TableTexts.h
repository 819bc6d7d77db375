#pragma once

#include "core/Translate.h"

namespace sw::ui {

// The headings of the windows' tables and the fuller words a screen reader says for the short
// ones, marked for the catalog and translated where shown.
struct ColumnText {
    const char* heading;
    const char* spoken = nullptr; // none: the heading is read as it stands
};

inline constexpr ColumnText WinBoardColumns[] = {
    {N_("Post")}, {N_("Odds")}, {N_("Win")}, {N_("Place")}, {N_("Show")}};
// Each half of a quiniela or exacta grid.
inline constexpr ColumnText OddsGridColumns[] = {{N_("Post")}, {N_("Odds")}};
inline constexpr const char* PoolTotalCaption = N_("Pool Total");
inline constexpr const char* WinBoardName = N_("Win, place and show money and win odds");
inline constexpr const char* QuinielaGridName = N_("Quiniela odds with the horse chosen");
inline constexpr const char* ExactaGridName = N_("Exacta odds with the horse chosen first");

inline constexpr ColumnText TicketColumns[] = {{N_("Paid")}, {N_("Ticket")}, {N_("Player")}};
inline constexpr const char* PaidMark = N_("paid");
inline constexpr const char* UnpaidMark = N_("not paid");

inline constexpr ColumnText PastLineColumnTexts[] = {{N_("PP"), N_("Post position")},
                                                     {"\u00BC", N_("Quarter")},
                                                     {"\u00BD", N_("Half")},
                                                     {N_("L"), N_("Lengths at the half")},
                                                     {"\u00BE", N_("Three quarters")},
                                                     {N_("L"), N_("Lengths at three quarters")},
                                                     {N_("Fin"), N_("Finish")},
                                                     {N_("L"), N_("Lengths at the finish")},
                                                     {N_("Time")},
                                                     {N_("Purse")},
                                                     {N_("Odds")},
                                                     {N_("Comment")}};
// {0}: the post, 1..8.
inline constexpr const char* PastLinesName = N_("Past performances of post {0}");
inline constexpr ColumnText StandingColumnTexts[] = {{N_("Name"), N_("Jockey")},
                                                     {N_("Sts"), N_("Starts")},
                                                     {N_("1st"), N_("Firsts")},
                                                     {N_("2nd"), N_("Seconds")},
                                                     {N_("3rd"), N_("Thirds")},
                                                     {N_("4th"), N_("Fourths")},
                                                     {N_("Earnings")}};
inline constexpr ColumnText TrackRecordColumns[] = {{N_("Horse")}, {N_("Time")}};

} // namespace sw::ui
