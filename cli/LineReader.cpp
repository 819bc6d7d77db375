#include "LineReader.h"

namespace sw::cli {

LineRead readLine(std::istream& in, std::string& line, std::size_t limit) {
    line.clear();
    if (!in.good())
        return LineRead::End;
    std::streambuf* buffer = in.rdbuf();
    bool read = false;
    bool tooLong = false;
    while (true) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) {
            in.setstate(std::ios::eofbit);
            break;
        }
        read = true;
        if (c == '\n')
            break;
        if (line.size() < limit)
            line.push_back(static_cast<char>(c));
        else
            tooLong = true;
    }
    if (tooLong) {
        line.clear();
        return LineRead::TooLong;
    }
    return read ? LineRead::Line : LineRead::End;
}

} // namespace sw::cli
