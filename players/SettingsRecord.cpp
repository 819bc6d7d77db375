#include "SettingsRecord.h"

#include "core/TextEncoding.h"

namespace sw {

std::string settingsRecord(const Settings& settings) {
    return RecordWriter()
        .single(settings.startAmount)
        .single(settings.defaultBetAmount)
        .empty()
        .empty()
        .single(settings.trackRecord)
        .line();
}

std::string factorySettingsRecord() {
    return RecordWriter()
        .single(FactorySettings.startAmount)
        .single(FactorySettings.defaultBetAmount)
        .integer(1)
        .integer(0)
        .single(FactorySettings.trackRecord)
        .line();
}

void parseSettings(std::string_view line, Settings& settings) {
    FieldReader reader(line);
    int32_t ignored = 0;
    reader.read(settings.startAmount);
    reader.read(settings.defaultBetAmount);
    reader.read(ignored);
    reader.read(ignored);
    reader.read(settings.trackRecord);
}

} // namespace sw
