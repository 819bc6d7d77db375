#include "Strategy.h"

#include "core/Translate.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <sstream>

namespace sw {

namespace {

std::vector<int> postsBy(const std::function<double(int)>& key, const std::function<bool(int)>& counted) {
    std::vector<int> posts(FieldSize);
    std::iota(posts.begin(), posts.end(), 1);
    std::stable_sort(posts.begin(), posts.end(), [&](int a, int b) {
        if (counted(a) != counted(b))
            return counted(a);
        return key(a) > key(b);
    });
    return posts;
}

ParsedTicket ticket(BetType type, BetMode mode, const std::vector<std::vector<int>>& sets) {
    ParsedTicket t;
    t.type = type;
    t.mode = mode;
    t.setCount = static_cast<int>(sets.size());
    for (std::size_t s = 0; s < sets.size(); ++s)
        for (int post : sets[s])
            t.sets[s].posts[t.sets[s].size++] = static_cast<uint8_t>(post);
    return t;
}

ParsedTicket single(BetType type, std::vector<int> posts) {
    return ticket(type, BetMode::On, {std::move(posts)});
}

std::vector<int> firstOf(const std::vector<int>& posts, std::size_t n) {
    return {posts.begin(), posts.begin() + static_cast<std::ptrdiff_t>(std::min(n, posts.size()))};
}

std::vector<int> allPosts() {
    return {1, 2, 3, 4, 5, 6, 7, 8};
}

float oddsOf(const RaceView& v, int post) {
    return v.day.pools.winOdds[static_cast<std::size_t>(post - 1)];
}

bool hasMoney(const RaceView& v, int post) {
    return v.day.pools.win[static_cast<std::size_t>(post - 1)] > 0;
}

// The next race's favourite by the public odds its program's loading pass made.
int nextFavourite(const RaceView& v) {
    const auto& odds = v.day.pools.oddsByRace[static_cast<std::size_t>(v.race + 1)];
    int best = 1;
    for (int post = 2; post <= FieldSize; ++post) {
        const float o = odds[static_cast<std::size_t>(post - 1)];
        const float b = odds[static_cast<std::size_t>(best - 1)];
        if (o > 0 && (b <= 0 || o < b))
            best = post;
    }
    return best;
}

std::vector<Strategy> makeStrategies() {
    using Plan = std::vector<ParsedTicket>;
    auto onFavourite = [](BetType type) {
        return [type](const RaceView& v) { return Plan{single(type, firstOf(v.byOdds(), 1))}; };
    };
    std::vector<Strategy> all;
    all.push_back({"favourite-win", N_("the favourite to win"), false, onFavourite(BetType::Win)});
    all.push_back({"favourite-show", N_("the favourite to show"), false, onFavourite(BetType::Show)});
    all.push_back({"longshot-win", N_("the longest shot on the board to win"), false, [](const RaceView& v) {
                       std::vector<int> posts = v.byOdds();
                       auto last = std::find_if(posts.rbegin(), posts.rend(),
                                                [&](int post) { return hasMoney(v, post); });
                       return last == posts.rend() ? Plan{} : Plan{single(BetType::Win, {*last})};
                   }});
    all.push_back({"post1-win", N_("post 1 to win"), false,
                   [](const RaceView&) { return Plan{single(BetType::Win, {1})}; }});
    all.push_back({"every-win", N_("every horse to win"), false,
                   [](const RaceView&) { return Plan{single(BetType::Win, allPosts())}; }});
    all.push_back({"value-win", N_("every horse marked value to win"), true, [](const RaceView& v) {
                       std::vector<int> posts;
                       for (int post = 1; post <= FieldSize; ++post)
                           if (v.chances->entries[static_cast<std::size_t>(post - 1)].value)
                               posts.push_back(post);
                       return posts.empty() ? Plan{} : Plan{single(BetType::Win, posts)};
                   }});
    all.push_back({"best-value-win",
                   N_("the horse of best expected return to win, when it returns over the stake"), true,
                   [](const RaceView& v) {
                       int best = 1;
                       for (int post = 2; post <= FieldSize; ++post)
                           if (v.expectedReturn(post) > v.expectedReturn(best))
                               best = post;
                       return v.expectedReturn(best) > 1.0 ? Plan{single(BetType::Win, {best})} : Plan{};
                   }});
    all.push_back(
        {"likeliest-show", N_("the likeliest top-three finisher to show"), true,
         [](const RaceView& v) { return Plan{single(BetType::Show, firstOf(v.byTopThree(), 1))}; }});
    all.push_back(
        {"exacta-box-top3", N_("an exacta box of the three likeliest winners"), true, [](const RaceView& v) {
             return Plan{ticket(BetType::Exacta, BetMode::Box, {firstOf(v.byChance(), 3)})};
         }});
    all.push_back({"daily-double-favourites", N_("a Daily Double of the two races' favourites"), false,
                   [](const RaceView& v) {
                       if (!v.day.dailyDoubleOffered)
                           return Plan{};
                       return Plan{ticket(BetType::DailyDouble, BetMode::Wheel,
                                          {firstOf(v.byOdds(), 1), {nextFavourite(v)}})};
                   }});
    all.push_back({"twin-tri-top3", N_("a Twin-Tri box of the three likeliest, exchanged for the next three"),
                   true, [](const RaceView& v) {
                       Plan plan;
                       const std::vector<int> top = firstOf(v.byChance(), 3);
                       if (v.twinTriCredit != 0) {
                           ParsedTicket second = ticket(BetType::TwinTri, BetMode::Straight, {top});
                           second.exchange = v.twinTriCredit;
                           plan.push_back(second);
                       }
                       if (v.day.exchangeBetsOffered)
                           plan.push_back(ticket(BetType::TwinTri, BetMode::Box, {top}));
                       return plan;
                   }});
    return all;
}

// The written rule: a bet and the conditions a horse must meet.
enum class Field { Odds, Rank, Post, Chance, TopThree, Value };
enum class Op { Greater, AtLeast, Less, AtMost, Equal };
struct Condition {
    Field field;
    Op op;
    double number;
};

std::optional<Field> fieldOf(std::string_view word) {
    static constexpr std::pair<std::string_view, Field> fields[] = {
        {"odds", Field::Odds},     {"rank", Field::Rank},     {"post", Field::Post},
        {"chance", Field::Chance}, {"top3", Field::TopThree}, {"value", Field::Value}};
    for (const auto& [name, field] : fields)
        if (name == word)
            return field;
    return std::nullopt;
}

std::optional<Op> opOf(std::string_view word) {
    static constexpr std::pair<std::string_view, Op> ops[] = {
        {">", Op::Greater}, {">=", Op::AtLeast}, {"<", Op::Less}, {"<=", Op::AtMost}, {"=", Op::Equal}};
    for (const auto& [name, op] : ops)
        if (name == word)
            return op;
    return std::nullopt;
}

bool holds(const Condition& c, double x) {
    switch (c.op) {
    case Op::Greater:
        return x > c.number;
    case Op::AtLeast:
        return x >= c.number;
    case Op::Less:
        return x < c.number;
    case Op::AtMost:
        return x <= c.number;
    case Op::Equal:
        return x == c.number;
    }
    return false;
}

double fieldValue(const RaceView& v, Field field, int post, const std::vector<int>& byOdds) {
    const auto e = static_cast<std::size_t>(post - 1);
    switch (field) {
    case Field::Odds:
        return oddsOf(v, post);
    case Field::Rank:
        return static_cast<double>(std::find(byOdds.begin(), byOdds.end(), post) - byOdds.begin() + 1);
    case Field::Post:
        return post;
    case Field::Chance:
        return v.chances->entries[e].win;
    case Field::TopThree:
        return v.chances->entries[e].topThreeShare;
    case Field::Value:
        return v.expectedReturn(post);
    }
    return 0;
}

// Operators may be written apart ("odds >= 5") or joined to their operands ("odds>=5").
std::vector<std::string> ruleWords(std::string_view text) {
    std::string spaced;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '<' || c == '>' || c == '=') {
            spaced += ' ';
            spaced += c;
            if (c != '=' && i + 1 < text.size() && text[i + 1] == '=')
                spaced += text[++i];
            spaced += ' ';
        } else {
            spaced += c;
        }
    }
    std::vector<std::string> words;
    std::istringstream in(spaced);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::optional<Strategy> parseRule(std::string_view text, std::string* error) {
    auto fail = [&](std::string why) -> std::optional<Strategy> {
        if (error)
            *error = std::move(why);
        return std::nullopt;
    };
    const std::vector<std::string> words = ruleWords(text);
    if (words.empty())
        return fail(_("a rule starts with win, place or show"));
    BetType type;
    if (words[0] == "win")
        type = BetType::Win;
    else if (words[0] == "place")
        type = BetType::Place;
    else if (words[0] == "show")
        type = BetType::Show;
    else
        return fail(fillIn(
            _("\"{0}\" is neither a strategy nor a rule (a rule starts with win, place or show)"), words[0]));
    std::vector<Condition> conditions;
    bool chances = false;
    std::size_t at = 1;
    if (at < words.size()) {
        if (words[at] != "when")
            return fail(fillIn(_("after the bet a rule goes on with \"when\", not \"{0}\""), words[at]));
        ++at;
        while (true) {
            if (at + 3 > words.size())
                return fail(_("a condition is a field, a comparison and a number, e.g. odds >= 5"));
            const auto field = fieldOf(words[at]);
            if (!field)
                return fail(
                    fillIn(_("\"{0}\" is not a field (odds, rank, post, chance, top3, value)"), words[at]));
            const auto op = opOf(words[at + 1]);
            if (!op)
                return fail(fillIn(_("\"{0}\" is not a comparison (> >= < <= =)"), words[at + 1]));
            double number = 0;
            const std::string& n = words[at + 2];
            const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), number);
            if (ec != std::errc{} || end != n.data() + n.size() || !std::isfinite(number))
                return fail(fillIn(_("\"{0}\" is not a number"), n));
            conditions.push_back({*field, *op, number});
            chances =
                chances || *field == Field::Chance || *field == Field::TopThree || *field == Field::Value;
            at += 3;
            if (at == words.size())
                break;
            if (words[at] != "and")
                return fail(fillIn(_("conditions are joined by \"and\", not \"{0}\""), words[at]));
            ++at;
        }
    }
    std::string name;
    for (const std::string& word : words)
        name += (name.empty() ? "" : " ") + word;
    Strategy rule{name, fillIn(_("the rule {0}"), name), chances, [type, conditions](const RaceView& v) {
                      const std::vector<int> byOdds = v.byOdds();
                      std::vector<int> posts;
                      for (int post = 1; post <= FieldSize; ++post)
                          if (std::all_of(conditions.begin(), conditions.end(), [&](const Condition& c) {
                                  return holds(c, fieldValue(v, c.field, post, byOdds));
                              }))
                              posts.push_back(post);
                      return posts.empty() ? std::vector<ParsedTicket>{}
                                           : std::vector<ParsedTicket>{single(type, posts)};
                  }};
    return rule;
}

} // namespace

std::vector<int> RaceView::byOdds() const {
    // Shortest odds first: the key is the odds' negative.
    return postsBy([&](int post) { return -static_cast<double>(oddsOf(*this, post)); },
                   [&](int post) { return hasMoney(*this, post); });
}

std::vector<int> RaceView::byChance() const {
    if (!chances)
        return {};
    return postsBy([&](int post) { return chances->entries[static_cast<std::size_t>(post - 1)].win; },
                   [](int) { return true; });
}

std::vector<int> RaceView::byTopThree() const {
    if (!chances)
        return {};
    return postsBy(
        [&](int post) { return chances->entries[static_cast<std::size_t>(post - 1)].topThreeShare; },
        [](int) { return true; });
}

double RaceView::expectedReturn(int post) const {
    if (!chances || !hasMoney(*this, post))
        return 0;
    return chances->entries[static_cast<std::size_t>(post - 1)].win * (oddsOf(*this, post) + 1.0);
}

const std::vector<Strategy>& labStrategies() {
    static const std::vector<Strategy> strategies = makeStrategies();
    return strategies;
}

std::optional<Strategy> findStrategy(std::string_view nameOrRule, std::string* error) {
    for (const Strategy& s : labStrategies())
        if (s.name == nameOrRule)
            return s;
    return parseRule(nameOrRule, error);
}

} // namespace sw
