#include "RecordAppend.h"

#include "core/TextEncoding.h"

#include <cstdio>
#include <string>

namespace sw {

namespace {

// True when the file exists, is not empty and its last byte is no line end.
bool lastLineIsOpen(const std::filesystem::path& file) {
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return false;
    bool open = false;
    if (std::fseek(f, -1, SEEK_END) == 0) {
        int last = std::fgetc(f);
        open = last != EOF && last != '\n' && last != '\r';
    }
    std::fclose(f);
    return open;
}

} // namespace

FileError appendRecord(const std::filesystem::path& file, std::string_view records) {
    if (lastLineIsOpen(file))
        return appendToFile(file, std::string(LineEnd) + std::string(records));
    return appendToFile(file, records);
}

} // namespace sw
