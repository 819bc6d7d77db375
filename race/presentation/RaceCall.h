#pragma once

#include "core/Constants.h"
#include "core/RaceResult.h"
#include "race/RaceObserver.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

struct RaceDay;

// The moments the caller speaks at, in the order a race reaches them.
enum class CallPoint : uint8_t { Off, Quarter, Half, ThreeQuarters, Stretch, Finish, Photo };

// The field at one call point as the race gives it: the first three by entry (-1 where the race
// has not given one yet) and how far the second is behind the first, as the race's own margin text
// ("nk", " ½", "2 "; empty where the race gives none, as at the quarter).
struct CallMoment {
    CallPoint point = CallPoint::Off;
    std::array<int, 3> leaders{-1, -1, -1};
    std::string margin;
    // The leader is not the one who led at the call before.
    bool newLeader = false;
    // At the finish: the first two too close to call. For a photo further back: the place it decides.
    bool photo = false;
    int photoPlace = 0;

    bool operator==(const CallMoment&) const = default;
};

// The race being called: its number on the card, its field's names by entry, and the seed that
// picks the caller's words, so a race is always called alike and two races seldom are.
struct CallField {
    int raceNumber = 0;
    std::array<std::string, FieldSize> names;
    uint64_t seed = 0;
};

// The race about to be run on `day`, for its caller.
CallField callFieldOf(const RaceDay& day);

// A margin text in words: "ns" a nose, " ½" half a length, "1 " a length, "3 " three lengths;
// empty for the leader's "- " and for no margin at all.
std::string marginWords(std::string_view margin);

// What the caller says at one moment, naming the horses; `seed` picks one of a few ways of saying it.
std::vector<std::string> callSentences(const CallMoment& moment,
                                       const std::array<std::string, FieldSize>& names, uint64_t seed);

// The same moment for a screen reader, by post: "at the half: 5 leads by a length, 2 second, 8 third".
std::string callDescription(const CallMoment& moment);

// Calls the race from its notifications: the start, the first three past each mark with the
// race's margins, the turn for home, the finish and a photo. Reads the margins and the finish
// times from the race's result as the race writes them; a race shown again is called from what
// was kept of it at its end.
class RaceCall final : public RaceObserver {
public:
    // Told the new sentences of each moment as it is called.
    using Listener = std::function<void(const std::vector<std::string>& said)>;

    // A new race to call, its result the race's own (which must outlive the race's end).
    void begin(const CallField& field, const RaceResult& result);
    void setListener(Listener listener) { m_listener = std::move(listener); }

    const CallField& field() const { return m_field; }
    // The moments called so far and everything said, in order.
    const std::vector<CallMoment>& moments() const { return m_moments; }
    const std::vector<std::string>& sentences() const { return m_sentences; }
    // What the track shows now, for a screen reader: "Race 3, at the half: 5 leads by a length, 2
    // second, 8 third"; "Race 3" before the start, empty before any race.
    std::string description() const;

    // True from the first stride until the next race begins.
    bool off() const { return m_off; }
    // The entries placed so far, by place, with their finish times in seconds.
    const std::vector<int>& placed() const { return m_placed; }
    const std::vector<float>& finishTimes() const { return m_finishTimes; }

    // A start forgets what was called (a race shown again is called afresh); the field stays.
    void raceStarted() override;
    void entryMoved(int e, int dx, int leg) override;
    void callPassed(int mark, int e, int count) override;
    void entryPlaced(int e, int place) override;
    void photoFinishRaised() override;
    void raceEnded() override;

private:
    void call(CallMoment moment);
    const RaceResult& result() const { return m_kept ? m_keptResult : *m_result; }

    CallField m_field;
    const RaceResult* m_result = nullptr;
    // The result as the race ended, for calling it again after the day has moved on.
    RaceResult m_keptResult;
    bool m_kept = false;
    Listener m_listener;

    std::vector<CallMoment> m_moments;
    std::vector<std::string> m_sentences;
    // Per mark, the first three past it, in order.
    std::array<std::array<int, 3>, 3> m_firstPast{};
    int m_lastLeader = -1;
    bool m_off = false;
    bool m_homeTurned = false;
    bool m_photoPending = false;
    std::vector<int> m_placed;
    std::vector<float> m_finishTimes;
};

} // namespace sw
