#pragma once

// Every duration of the game, in milliseconds: the day's pauses as the players see them, and the
// pace the race and its pictures run at.

namespace sw {

// The post parade walks one step between races.
inline constexpr int ParadeStepMs = 2000;
// The results show opens after this pause...
inline constexpr int ShowDelayMs = 1000;
// ...or after this one, opening on a finish close enough for a photo.
inline constexpr int PhotoShowDelayMs = 5000;
// The photo sign stays up this long on each close finish.
inline constexpr int PhotoPauseMs = 6000;
// The results name the next place of the official order after this pause...
inline constexpr int RevealStepMs = 700;
// ...and, once the order is official, post the payoffs one bet after another at this pace.
inline constexpr int PayoffStepMs = 450;
// One pass of the race: the race always paced itself at this wait.
inline constexpr int RacePassMs = 5;
// The track is stepped and repainted at this interval, about sixty times a second.
inline constexpr int FrameMs = 16;
// The day starts once the window is painted; should no paint come, it starts after this all the same.
inline constexpr int StartWithoutPaintMs = 1000;
// The racing program looks at the chances being simulated this often: the figures settle in view.
inline constexpr int ChancePollMs = 100;

// The field's hoofbeats: one stride of the field every HoofStrideMs while it runs at
// HoofPaceTwipsPerSecond across the design track, quicker as it quickens, slower as it eases...
inline constexpr int HoofStrideMs = 300;
inline constexpr int HoofPaceTwipsPerSecond = 1200;
// ...never closer together than this, and none at all below this pace (a field pulled up).
inline constexpr int HoofStrideShortestMs = 180;
inline constexpr int HoofQuietTwipsPerSecond = 250;
// The pace the hoofbeats follow is the field's over about this long.
inline constexpr int HoofPaceSmoothingMs = 250;

} // namespace sw
