#include "WindowOptions.h"

#include "ToQString.h"
#include "core/Translate.h"
#include "core/WholeNumber.h"

#include <QCommandLineParser>

#include <algorithm>

namespace sw::ui {

namespace {

struct Parser {
    QCommandLineParser parser;
    QCommandLineOption dataDir{{QStringLiteral("d"), QStringLiteral("data-dir")},
                               toQString(_("Keep the stable, the players and the day in DIR; by default the "
                                           "program's own folder when it holds horses.dat, else "
                                           "$XDG_DATA_HOME/stridewell (~/.local/share/stridewell).")),
                               QStringLiteral("DIR")};
    QCommandLineOption seed{
        {QStringLiteral("s"), QStringLiteral("seed")},
        toQString(_("Draw the day from the whole number N: the same seed plays the same day.")),
        QStringLiteral("N")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            toQString(_("Show this help and exit."))};
    QCommandLineOption version{{QStringLiteral("V"), QStringLiteral("version")},
                               toQString(_("Show the version and exit."))};

    Parser() {
        parser.setApplicationDescription(
            toQString(_("Bet play money on a race day of twelve simulated horse races,\n"
                        "and learn how pari-mutuel betting pays.")));
        parser.addOptions({dataDir, seed, help, version});
    }
};

// "-d, --data-dir DIR": the names of an option as --help shows them.
QString optionHead(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString head = QStringLiteral("  ") + names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        head += QStringLiteral(" ") + option.valueName();
    return head;
}

} // namespace

WindowOptions parseWindowOptions(const QStringList& arguments) {
    Parser p;
    WindowOptions options;
    const bool parsed = p.parser.parse(arguments);
    if (p.parser.isSet(p.help)) {
        options.action = WindowOptions::Action::Help;
        return options;
    }
    if (p.parser.isSet(p.version)) {
        options.action = WindowOptions::Action::Version;
        return options;
    }
    const auto fail = [&options](const QString& what) {
        options.action = WindowOptions::Action::Error;
        options.error = what;
        return options;
    };
    if (!parsed)
        return fail(p.parser.errorText());
    if (!p.parser.positionalArguments().isEmpty())
        return fail(
            toQString(_("unexpected argument '%1'")).arg(p.parser.positionalArguments().constFirst()));
    if (p.parser.isSet(p.dataDir)) {
        const QString dir = p.parser.value(p.dataDir);
        if (dir.isEmpty())
            return fail(toQString(_("--data-dir needs a folder")));
        options.dataDir = std::filesystem::path(dir.toStdString());
    }
    if (p.parser.isSet(p.seed)) {
        const QString text = p.parser.value(p.seed);
        options.seed = parseWholeNumber(text.toStdString());
        if (!options.seed)
            return fail(toQString(_("--seed takes a whole number from 0 to 18446744073709551615, not '%1'"))
                            .arg(text));
    }
    return options;
}

QString windowHelpText() {
    Parser p;
    QString text = toQString(_("Usage: stridewell [OPTION]...\n")) + p.parser.applicationDescription() +
                   toQString(_("\n\nOptions:\n"));
    const QList<QCommandLineOption> options = {p.dataDir, p.seed, p.help, p.version};
    qsizetype width = 0;
    for (const QCommandLineOption& option : options)
        width = std::max(width, optionHead(option).size());
    // Descriptions wrapped beside their options, so the help fits a terminal of 80 columns.
    const qsizetype indent = width + 2;
    for (const QCommandLineOption& option : options) {
        QString line = optionHead(option).leftJustified(indent);
        qsizetype used = line.size();
        for (const QString& word : option.description().split(u' ')) {
            if (used > indent && used + 1 + word.size() > 79) {
                line += QStringLiteral("\n") + QString(indent, u' ');
                used = indent;
            } else if (used > indent) {
                line += u' ';
                ++used;
            }
            line += word;
            used += word.size();
        }
        text += line + QStringLiteral("\n");
    }
    text += toQString(_("\nQt's own options, such as -platform and -style, are taken as well.\n"
                        "The game in a terminal is stridewell-cli.\n"));
    return text;
}

QString windowVersionText() {
    return QStringLiteral("stridewell " STRIDEWELL_VERSION "\n"
                          "Copyright (C) 2026 The Stridewell developers\n") +
           toQString(_("License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                       "This is free software: you are free to change and redistribute it.\n"
                       "There is NO WARRANTY, to the extent permitted by law.\n"));
}

} // namespace sw::ui
