#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <filesystem>
#include <optional>

namespace sw::ui {

// What the window program was asked to do by its command line.
struct WindowOptions {
    enum class Action { Play, Help, Version, Error };
    Action action = Action::Play;
    std::optional<std::filesystem::path> dataDir;
    std::optional<std::uint64_t> seed;
    QString error; // for Action::Error: what was wrong, in one line
};

// Reads a command line whose first word is the program. Qt's own options (-platform, -style ...)
// must be gone already, as QApplication takes them; before that, only Help and Version are
// trustworthy, which is all that is asked of a display-less first look.
WindowOptions parseWindowOptions(const QStringList& arguments);

// What --help prints, made from the parser's own options; the manual page is made from it.
QString windowHelpText();
// What --version prints.
QString windowVersionText();

} // namespace sw::ui
