#include "SettingsRecord.h"

#include "core/TextEncoding.h"

namespace sw {

std::string settingsRecord(const Settings& settings) {
    return RecordWriter()
        .text(centsField(settings.startAmount))
        .text(centsField(settings.defaultBetAmount))
        .empty()
        .empty()
        .single(settings.trackRecord)
        .line();
}

std::string factorySettingsRecord() {
    return RecordWriter()
        .text(centsField(FactorySettings.startAmount))
        .text(centsField(FactorySettings.defaultBetAmount))
        .integer(1)
        .integer(0)
        .single(FactorySettings.trackRecord)
        .line();
}

namespace {

// Money read exactly; a malformed field leaves the amount as it was, as every reader does.
void readCents(FieldReader& reader, Cents& value) {
    if (reader.atEnd())
        return;
    if (const std::optional<Cents> cents = parseCents(reader.next()))
        value = *cents;
}

} // namespace

void parseSettings(std::string_view line, Settings& settings) {
    FieldReader reader(line);
    int32_t ignored = 0;
    readCents(reader, settings.startAmount);
    readCents(reader, settings.defaultBetAmount);
    reader.read(ignored);
    reader.read(ignored);
    reader.read(settings.trackRecord);
}

} // namespace sw
