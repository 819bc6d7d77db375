#include "PoolFiles.h"

#include "core/Constants.h"
#include "core/Format.h"
#include "core/TextEncoding.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace sw {

namespace {

void appendNumber(std::string& out, int64_t value) {
    char buf[24];
    auto result = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, result.ptr);
}

// A whole number field, rounded as every reader rounds, or nullopt when it is no number.
std::optional<int64_t> wholeField(std::string_view field) {
    // Nearly every field is a few plain digits, read here without the general number reader.
    if (!field.empty() && field.size() <= 9) {
        int64_t value = 0;
        std::size_t i = 0;
        for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
            value = value * 10 + (field[i] - '0');
        if (i == field.size())
            return value;
    }
    double number = 0;
    if (!parseLeadingNumber(field, number))
        return std::nullopt;
    number = std::nearbyint(number);
    if (number < static_cast<double>(std::numeric_limits<int32_t>::min()) ||
        number > static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int64_t>(number);
}

bool isSingleRace(PoolFile file) {
    return file != PoolFile::DailyDoubles && file != PoolFile::Pick3s && file != PoolFile::Pick6s;
}

// A line as the game writes it, the file's fields as plain digits between single commas, read in
// one pass: the board reads thousands of them at every refresh. Anything else, valid or not, is
// left to the general reading (nullopt).
std::optional<PoolLine> plainPoolLine(std::string_view line, int horses, bool singleRace) {
    const auto wanted = static_cast<std::size_t>(horses) + 2;
    std::array<int64_t, 8> values{};
    std::size_t count = 0;
    int64_t value = 0;
    int digits = 0;
    for (char c : line) {
        if (c >= '0' && c <= '9') {
            if (++digits > 9)
                return std::nullopt;
            value = value * 10 + (c - '0');
        } else if (c == ',' && digits > 0 && count + 1 < wanted) {
            values[count++] = value;
            value = 0;
            digits = 0;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || count + 1 != wanted)
        return std::nullopt;
    values[count] = value;

    PoolLine out;
    out.count = horses;
    out.ticket = static_cast<int32_t>(values[0]);
    for (std::size_t i = 0; i < static_cast<std::size_t>(horses); ++i) {
        const int64_t horse = values[i + 1];
        if (horse < 1 || horse > FieldSize)
            return std::nullopt;
        out.horses[i] = static_cast<int16_t>(horse);
        for (std::size_t j = 0; singleRace && j < i; ++j)
            if (out.horses[j] == out.horses[i])
                return std::nullopt;
    }
    out.amount = static_cast<double>(values[wanted - 1]);
    return out;
}

} // namespace

std::string_view poolFileName(PoolFile file) {
    switch (file) {
    case PoolFile::Wins:
        return "wins.dat";
    case PoolFile::Places:
        return "places.dat";
    case PoolFile::Shows:
        return "shows.dat";
    case PoolFile::Quinielas:
        return "quinielas.dat";
    case PoolFile::Exactas:
        return "exactas.dat";
    case PoolFile::Trifectas:
        return "trifectas.dat";
    case PoolFile::Superfectas:
        return "superfectas.dat";
    case PoolFile::DailyDoubles:
        return "dailydoubles.dat";
    case PoolFile::Pick3s:
        return "pick3s.dat";
    case PoolFile::Pick6s:
        return "pick6s.dat";
    case PoolFile::TwinTris:
        return "twintris.dat";
    case PoolFile::TriSupers:
        return "trisupers.dat";
    case PoolFile::TwinTriExchanges:
        return "twintriexchanges.dat";
    case PoolFile::TriSuperExchanges:
        return "trisuperexchanges.dat";
    }
    return "";
}

int poolFileHorses(PoolFile file) {
    switch (file) {
    case PoolFile::Wins:
    case PoolFile::Places:
    case PoolFile::Shows:
        return 1;
    case PoolFile::Quinielas:
    case PoolFile::Exactas:
    case PoolFile::DailyDoubles:
        return 2;
    case PoolFile::Trifectas:
    case PoolFile::Pick3s:
    case PoolFile::TwinTris:
    case PoolFile::TriSupers:
    case PoolFile::TwinTriExchanges:
        return 3;
    case PoolFile::Superfectas:
    case PoolFile::TriSuperExchanges:
        return 4;
    case PoolFile::Pick6s:
        return 6;
    }
    return 0;
}

void appendPoolLine(std::string& out, int32_t ticket, std::span<const int16_t> horses, int64_t amount) {
    appendNumber(out, ticket);
    for (int16_t horse : horses) {
        out.push_back(',');
        appendNumber(out, horse);
    }
    out.push_back(',');
    appendNumber(out, amount);
    out.append(LineEnd);
}

std::string poolLineText(int32_t ticket, std::span<const int16_t> horses, int64_t amount) {
    std::string line;
    line.reserve(48);
    appendPoolLine(line, ticket, horses, amount);
    return line;
}

std::optional<PoolLine> parsePoolLine(std::string_view line, PoolFile file) {
    const int horses = poolFileHorses(file);
    if (auto plain = plainPoolLine(line, horses, isSingleRace(file)))
        return plain;
    const std::size_t wanted = static_cast<std::size_t>(horses) + 2;
    std::array<std::string_view, 8> fields;
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = line.find(',', start);
        if (count == wanted)
            return std::nullopt; // more fields than the file's format has
        fields[count++] = line.substr(start, comma == std::string_view::npos ? line.npos : comma - start);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (count != wanted)
        return std::nullopt;

    PoolLine out;
    out.count = horses;
    auto ticket = wholeField(fields[0]);
    if (!ticket)
        return std::nullopt;
    out.ticket = static_cast<int32_t>(*ticket);
    for (int i = 0; i < horses; ++i) {
        auto horse = wholeField(fields[static_cast<std::size_t>(i) + 1]);
        if (!horse || *horse < 1 || *horse > FieldSize)
            return std::nullopt;
        out.horses[static_cast<std::size_t>(i)] = static_cast<int16_t>(*horse);
    }
    // One race cannot place a horse twice; legs of different races may repeat a post.
    if (isSingleRace(file))
        for (int i = 0; i < horses; ++i)
            for (int j = i + 1; j < horses; ++j)
                if (out.horses[static_cast<std::size_t>(i)] == out.horses[static_cast<std::size_t>(j)])
                    return std::nullopt;
    double amount = 0;
    if (!parseLeadingNumber(fields[wanted - 1], amount))
        return std::nullopt;
    out.amount = amount;
    return out;
}

FileError appendPoolLines(const RaceDay& day, PoolFile file, std::string_view lines) {
    FileChanges changes;
    changes.append(std::string(poolFileName(file)), std::string(lines));
    return day.folder.commit(changes);
}

void forEachPoolLine(std::string_view text, PoolFile file,
                     const std::function<void(const PoolLine&)>& onLine) {
    forEachLineIn(text, [&](std::string_view line) {
        if (auto parsed = parsePoolLine(line, file))
            onLine(*parsed);
    });
}

FileError clearPoolFile(const RaceDay& day, PoolFile file) {
    return day.folder.write(poolFileName(file), "");
}

} // namespace sw
