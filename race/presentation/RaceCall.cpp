#include "RaceCall.h"

#include "core/RaceDay.h"
#include "core/Random.h"
#include "core/Translate.h"

#include <algorithm>
#include <span>
#include <utility>

namespace sw {

namespace {

const char* const PlaceWords[] = {N_("first"), N_("second"), N_("third"), N_("fourth"), N_("fifth")};
const char* const NumberWords[] = {N_("zero"), N_("one"),    N_("two"),   N_("three"), N_("four"),
                                   N_("five"), N_("six"),    N_("seven"), N_("eight"), N_("nine"),
                                   N_("ten"),  N_("eleven"), N_("twelve")};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

// One of `choices`, the same for the same race, moment and line.
std::string_view pick(std::span<const char* const> choices, uint64_t seed, CallPoint point, int line) {
    const uint64_t key = seed ^ (static_cast<uint64_t>(point) << 8 | static_cast<uint64_t>(line));
    return choices[static_cast<std::size_t>(mixedSeed(key) % choices.size())];
}

// Fills {A}, {B} and {C} with the first three's names, {L} with the leader and his margin, {P}
// with the place a photo decides.
std::string filled(std::string_view pattern, const CallMoment& m,
                   const std::array<std::string, FieldSize>& names) {
    auto name = [&](int i) -> std::string {
        const int e = m.leaders[static_cast<std::size_t>(i)];
        if (e < 0 || e >= FieldSize)
            return _("the field");
        const std::string& n = names[static_cast<std::size_t>(e)];
        return n.empty() ? fillIn(_("number {0}"), e + 1) : n;
    };
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '{' || i + 2 >= pattern.size() || pattern[i + 2] != '}') {
            out += pattern[i];
            continue;
        }
        switch (pattern[i + 1]) {
        case 'A':
            out += name(0);
            break;
        case 'B':
            out += name(1);
            break;
        case 'C':
            out += name(2);
            break;
        case 'L': {
            const std::string by = marginWords(m.margin);
            out += by.empty() ? fillIn(_("{0} leads"), name(0)) : fillIn(_("{0} by {1}"), name(0), by);
            break;
        }
        case 'P':
            out += _(PlaceWords[std::clamp(m.photoPlace, 1, 4) - 1]);
            break;
        default:
            break;
        }
        i += 2;
    }
    return out;
}

CallMoment momentAt(CallPoint point, std::array<int, 3> leaders = {-1, -1, -1}, std::string margin = {}) {
    CallMoment moment;
    moment.point = point;
    moment.leaders = leaders;
    moment.margin = std::move(margin);
    return moment;
}

const char* const OffWords[] = {N_("They're off!"), N_("And they're off!"),
                                N_("The gates open, and they're off!")};
const char* const QuarterWords[] = {N_("At the quarter, {A} leads, {B} second, {C} third"),
                                    N_("{A} shows the way at the quarter, {B} second, {C} third"),
                                    N_("{A} goes to the front early, {B} second, {C} third")};
const char* const TurnLeadWords[] = {N_("{A} takes the lead on the turn"),
                                     N_("{A} moves to the front on the turn"),
                                     N_("{A} goes by on the turn to lead")};
const char* const HalfWords[] = {N_("At the half, {L}, {B} second, {C} third"),
                                 N_("Half a mile gone, {L}, {B} second, {C} third"),
                                 N_("Passing the half, {L}, {B} second, {C} third")};
const char* const BackLeadWords[] = {N_("{A} takes over down the backstretch"),
                                     N_("{A} goes to the front down the back"),
                                     N_("{A} grabs the lead on the backstretch")};
const char* const ThreeQuarterWords[] = {N_("At the three quarters, {L}, {B} second, {C} third"),
                                         N_("Three quarters gone, {L}, {B} second, {C} third"),
                                         N_("Down the backstretch, {L}, {B} second, {C} third")};
const char* const StretchWords[] = {N_("Into the stretch..."), N_("They turn for home..."),
                                    N_("Round the far turn and into the stretch...")};
const char* const HomeLeadWords[] = {N_("{A} hits the front!"), N_("{A} comes through to lead!"),
                                     N_("{A} takes command!")};
const char* const HomeHoldWords[] = {N_("{A} still in front"), N_("{A} still leads"),
                                     N_("{A} holds the lead")};
const char* const WinWords[] = {N_("{A} wins it by {M}!"), N_("{A} gets home by {M}!"),
                                N_("{A} takes it by {M}!")};
const char* const CloseWords[] = {N_("{A} and {B} together at the wire!"),
                                  N_("{A} and {B} nose to nose at the line!"),
                                  N_("{A} and {B} hit the wire as one!")};

} // namespace

CallField callFieldOf(const RaceDay& day) {
    CallField field;
    const int race = std::clamp<int>(day.currentRace, 0, RacesPerDay - 1);
    field.raceNumber = race + 1;
    field.names = day.entries.name;
    field.seed = day.raceSeeds[static_cast<std::size_t>(race)];
    return field;
}

std::string marginWords(std::string_view margin) {
    const std::string_view m = trimmed(margin);
    if (m.empty() || m == "-")
        return {};
    if (m == "ns")
        return _("a nose");
    if (m == "nk")
        return _("a neck");
    if (m == "hd")
        return _("a head");
    if (m == "\u00BC")
        return _("a quarter length");
    if (m == "\u00BD")
        return _("half a length");
    if (m == "\u00BE")
        return _("three quarters of a length");
    int n = 0;
    for (char c : m) {
        if (c < '0' || c > '9')
            return std::string(m);
        n = n * 10 + (c - '0');
    }
    if (n == 1)
        return _("a length");
    return fillIn(_("{0} lengths"),
                  n < static_cast<int>(std::size(NumberWords)) ? _(NumberWords[n]) : std::to_string(n));
}

std::vector<std::string> callSentences(const CallMoment& moment,
                                       const std::array<std::string, FieldSize>& names, uint64_t seed) {
    std::vector<std::string> said;
    auto say = [&](std::span<const char* const> choices, int line) {
        std::string pattern = _(pick(choices, seed, moment.point, line));
        // {M} is the margin alone, for the finish.
        if (const auto at = pattern.find("{M}"); at != std::string::npos)
            pattern.replace(at, 3, marginWords(moment.margin));
        said.push_back(filled(pattern, moment, names));
    };
    switch (moment.point) {
    case CallPoint::Off:
        say(OffWords, 0);
        break;
    case CallPoint::Quarter:
        say(QuarterWords, 0);
        break;
    case CallPoint::Half:
        if (moment.newLeader)
            say(TurnLeadWords, 1);
        say(HalfWords, 0);
        break;
    case CallPoint::ThreeQuarters:
        if (moment.newLeader)
            say(BackLeadWords, 1);
        say(ThreeQuarterWords, 0);
        break;
    case CallPoint::Stretch:
        say(StretchWords, 0);
        say(moment.newLeader ? std::span<const char* const>(HomeLeadWords) : HomeHoldWords, 1);
        break;
    case CallPoint::Finish:
        // Too close to call: the stewards' photo names the winner, not the caller.
        if (moment.photo) {
            say(CloseWords, 1);
            said.push_back(_("Photo!"));
        } else {
            say(WinWords, 0);
        }
        break;
    case CallPoint::Photo:
        said.push_back(filled(_("Photo for {P}!"), moment, names));
        break;
    }
    return said;
}

std::string callDescription(const CallMoment& m) {
    auto post = [&](int i) { return std::to_string(m.leaders[static_cast<std::size_t>(i)] + 1); };
    auto known = [&](int i) { return m.leaders[static_cast<std::size_t>(i)] >= 0; };
    auto field = [&](const char* where, const char* leads) {
        std::string text = fillIn(_(leads), _(where), post(0));
        if (const std::string by = marginWords(m.margin); !by.empty())
            text = fillIn(_("{0} by {1}"), text, by);
        for (int i = 1; i < 3; ++i)
            if (known(i))
                text += ", " + post(i) + " " + _(PlaceWords[i]);
        return text;
    };
    switch (m.point) {
    case CallPoint::Off:
        return _("they're off");
    case CallPoint::Quarter:
        return field(N_("at the quarter"), N_("{0}: {1} leads"));
    case CallPoint::Half:
        return field(N_("at the half"), N_("{0}: {1} leads"));
    case CallPoint::ThreeQuarters:
        return field(N_("at the three quarters"), N_("{0}: {1} leads"));
    case CallPoint::Stretch:
        return field(N_("into the stretch"), N_("{0}: {1} leads"));
    case CallPoint::Finish:
        if (m.photo)
            return fillIn(_("at the finish: photo between {0} and {1}"), post(0), post(1));
        return field(N_("at the finish"), N_("{0}: {1} wins"));
    case CallPoint::Photo:
        return fillIn(_("photo for {0}"), _(PlaceWords[std::clamp(m.photoPlace, 1, 4) - 1]));
    }
    return {};
}

void RaceCall::begin(const CallField& field, const RaceResult& result) {
    m_field = field;
    m_result = &result;
    m_kept = false;
    raceStarted();
}

std::string RaceCall::description() const {
    if (m_field.raceNumber <= 0)
        return {};
    std::string text = fillIn(_("Race {0}"), m_field.raceNumber);
    if (!m_moments.empty())
        text += ", " + callDescription(m_moments.back());
    return text;
}

void RaceCall::raceStarted() {
    m_moments.clear();
    m_sentences.clear();
    for (auto& firsts : m_firstPast)
        firsts.fill(-1);
    m_lastLeader = -1;
    m_off = false;
    m_homeTurned = false;
    m_photoPending = false;
    m_placed.clear();
    m_finishTimes.clear();
}

void RaceCall::call(CallMoment moment) {
    if (moment.leaders[0] >= 0) {
        moment.newLeader = m_lastLeader >= 0 && moment.leaders[0] != m_lastLeader;
        m_lastLeader = moment.leaders[0];
    }
    std::vector<std::string> said = callSentences(moment, m_field.names, m_field.seed);
    m_moments.push_back(std::move(moment));
    m_sentences.insert(m_sentences.end(), said.begin(), said.end());
    if (m_listener)
        m_listener(said);
}

void RaceCall::entryMoved(int e, int /*dx*/, int leg) {
    if (e < 0 || e >= FieldSize || !m_result)
        return;
    if (!m_off) {
        m_off = true;
        call(momentAt(CallPoint::Off));
    }
    // The first onto the third straight has turned for home.
    if (leg == 2 && !m_homeTurned) {
        m_homeTurned = true;
        call(momentAt(CallPoint::Stretch, {e, -1, -1}));
    }
}

void RaceCall::callPassed(int mark, int e, int count) {
    if (mark < 0 || mark > 2 || e < 0 || e >= FieldSize || count < 1 || count > 3 || !m_result)
        return;
    auto& firsts = m_firstPast[static_cast<std::size_t>(mark)];
    firsts[static_cast<std::size_t>(count - 1)] = e;
    if (count < 3)
        return;
    CallMoment moment = momentAt(mark == 0   ? CallPoint::Quarter
                                 : mark == 1 ? CallPoint::Half
                                             : CallPoint::ThreeQuarters,
                                 firsts);
    // The quarter records no lengths; the others give each horse's behind the first past.
    if (mark > 0) {
        const auto& lengths = mark == 1 ? result().halfLengths : result().threeQuarterLengths;
        moment.margin = lengths[static_cast<std::size_t>(firsts[1])];
    }
    call(std::move(moment));
}

void RaceCall::photoFinishRaised() {
    m_photoPending = true;
}

void RaceCall::entryPlaced(int e, int place) {
    if (e < 0 || e >= FieldSize || place < 1 || place > FieldSize || !m_result)
        return;
    m_placed.push_back(e);
    m_finishTimes.push_back(result().finishTime[static_cast<std::size_t>(place - 1)]);
    // The photo is told just before the placing it concerns.
    const bool photo = std::exchange(m_photoPending, false);
    if (place == 2) {
        CallMoment moment =
            momentAt(CallPoint::Finish, {m_placed[0], m_placed[1], -1}, result().finishLengths[1]);
        moment.photo = photo;
        call(std::move(moment));
    } else if (photo) {
        CallMoment moment = momentAt(CallPoint::Photo);
        moment.photoPlace = place - 1;
        call(std::move(moment));
    }
}

void RaceCall::raceEnded() {
    if (m_result && !m_kept) {
        m_keptResult = *m_result;
        m_kept = true;
    }
}

} // namespace sw
