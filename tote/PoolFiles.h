#pragma once

#include "core/FileStore.h"
#include "core/RaceDay.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sw {

// The pool files. The first seven hold the race about to be run (public money first, then the
// players' lines); the next three gather players' multi-race lines until their last leg; the last
// four hold the players' Twin-Tri and Tri-Super halves (no public money) until the race is settled.
enum class PoolFile {
    Wins,
    Places,
    Shows,
    Quinielas,
    Exactas,
    Trifectas,
    Superfectas,
    DailyDoubles,
    Pick3s,
    Pick6s,
    TwinTris,          // first halves, trifecta lines
    TriSupers,         // first halves, trifecta lines
    TwinTriExchanges,  // second halves, trifecta lines
    TriSuperExchanges, // second halves, superfecta lines
};

inline constexpr std::size_t PoolFileCount = 14;

inline constexpr std::array<PoolFile, 4> ExchangePoolFiles = {
    PoolFile::TwinTris, PoolFile::TriSupers, PoolFile::TwinTriExchanges, PoolFile::TriSuperExchanges};

inline constexpr std::array<PoolFile, 7> SingleRacePoolFiles = {
    PoolFile::Wins,    PoolFile::Places,    PoolFile::Shows,      PoolFile::Quinielas,
    PoolFile::Exactas, PoolFile::Trifectas, PoolFile::Superfectas};

// "wins.dat" .. "pick6s.dat", "twintris.dat" .. "trisuperexchanges.dat".
std::string_view poolFileName(PoolFile file);
// How many posts a line of the file names: 1 for win/place/show up to 6 for the pick 6.
int poolFileHorses(PoolFile file);

// One line of a pool file: the owning ticket, the posts 1..8 in the file's order and the amount.
struct PoolLine {
    int32_t ticket = 0;
    std::array<int16_t, 6> horses{};
    int count = 0;
    double amount = 0;
};

// "ticket,horse..,amount" with its CR LF, the format every pool file shares.
std::string poolLineText(int32_t ticket, std::span<const int16_t> horses, int64_t amount);
// The same line added to the end of `out`, for building a whole file's text.
void appendPoolLine(std::string& out, int32_t ticket, std::span<const int16_t> horses, int64_t amount);

// The line if it has exactly the file's fields, posts in 1..8 (all different within one race)
// and numeric ticket and amount; nullopt for anything else.
std::optional<PoolLine> parsePoolLine(std::string_view line, PoolFile file);

// Appends complete lines (as built by poolLineText) to the file.
FileError appendPoolLines(const RaceDay& day, PoolFile file, std::string_view lines);

// Calls onLine for every well-formed line of the file's text in order.
void forEachPoolLine(std::string_view text, PoolFile file,
                     const std::function<void(const PoolLine&)>& onLine);

// Leaves the file present and empty.
FileError clearPoolFile(const RaceDay& day, PoolFile file);

} // namespace sw
