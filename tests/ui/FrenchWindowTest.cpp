// The game in French shows no English in its main window: with LANGUAGE=fr, each text a player
// reads there (labels, buttons, tabs, menus, tooltips) on each bet page and tote board page is
// either no text of the catalog's English or one that French spells the same ("OK", "Pick 3").

#include "core/Translate.h"
#include "ui/MainWindow.h"
#include "ui/QtCatalog.h"

#include "WindowTestDay.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGroupBox>
#include <QLibraryInfo>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QTextDocumentFragment>

using namespace sw;
using namespace sw::test;

namespace {

using Patterns = QList<QRegularExpression>;

// Each one-line msgid (English) or msgstr (French) of the catalog as a whole-text pattern, where
// what the game fills in ({0}, %1) matches anything.
void readCatalog(const QString& path, Patterns& english, Patterns& french) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    static const QRegularExpression entry(uR"re(^(msgid|msgstr(?:\[\d\])?) "(.*[A-Za-z]{2}.*)"$)re"_s);
    static const QRegularExpression filled(uR"(\\\{\d+\\\}|\\%\d)"_s);
    while (!file.atEnd()) {
        const auto m = entry.match(QString::fromUtf8(file.readLine()).trimmed());
        if (!m.hasMatch())
            continue;
        QString pattern = QRegularExpression::escape(m.captured(2).remove(u'&').replace(u"\\\""_s, u"\""_s));
        pattern.replace(filled, u".+"_s);
        (m.captured(1) == "msgid"_L1 ? english : french) << QRegularExpression(u"^"_s + pattern + u"$"_s);
    }
}

bool anyMatches(const Patterns& patterns, const QString& text) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const QRegularExpression& p) { return p.match(text).hasMatch(); });
}

// The texts the window shows now, its own widgets' (not the windows over it), tabs and menus.
QStringList shownTexts(QMainWindow& window) {
    QStringList texts{window.windowTitle()};
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->window() != &window || !w->isVisibleTo(&window))
            continue;
        texts << w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            texts << (Qt::mightBeRichText(label->text())
                          ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                          : label->text());
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            texts << b->text();
        if (auto* box = qobject_cast<QGroupBox*>(w))
            texts << box->title();
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i) << tabs->tabToolTip(i);
    }
    for (QAction* menu : window.menuBar()->actions()) {
        texts << menu->text();
        for (QAction* item : menu->menu()->actions())
            texts << item->text() << item->toolTip() << item->statusTip();
    }
    for (QString& text : texts)
        text = text.remove(u'&').trimmed();
    texts.removeAll(QString());
    return texts;
}

} // namespace

class FrenchWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theMainWindowShowsNoEnglish() {
        Patterns english, french;
        readCatalog(QStringLiteral(STRIDEWELL_SOURCE_DIR "/po/fr.po"), english, french);
        QVERIFY(english.size() > 500);
        QCOMPARE(QString::fromStdString(_("Start the race")), u"Lancer la course"_s);
        // The guide the window opens is the French one beside the English.
        QCOMPARE(userGuideIn(STRIDEWELL_SOURCE_DIR "/docs").filename().string(), "userguide.fr.htm");

        WindowTestDay day(20240517, false);
        ui::MainWindow window(*day.game);
        window.show();
        const auto program = [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w->objectName() == "frmPastPerf"_L1)
                    return w;
            return static_cast<QWidget*>(nullptr);
        };
        QVERIFY(QTest::qWaitFor([&] { return program() != nullptr; }, 60000));
        button(program(), u"cmdOK"_s)->click();
        QVERIFY(QTest::qWaitFor([&] { return day.game->stage() == Stage::Betting && !program(); }));
        day.game->addPlayer("Ann");
        window.refresh();

        QStringList found;
        auto look = [&](const QString& where) {
            for (const QString& text : shownTexts(window))
                if (anyMatches(english, text) && !anyMatches(french, text))
                    found << where + u": "_s + text;
        };
        // The three bet pages as a ticket is built, and on the last each page of the tote board.
        for (const char* step : {"", "cmdNext1", "cmdExacta cmdBox cmdNext2"}) {
            for (const QString& name : QString::fromLatin1(step).split(u' ', Qt::SkipEmptyParts))
                button(&window, name)->click();
            look(*step ? QString::fromLatin1(step) : u"the amount page"_s);
        }
        auto* tote = child<QTabWidget>(&window, u"tabTote"_s);
        for (int page = 1; page < tote->count(); ++page) {
            tote->setCurrentIndex(page);
            look(tote->tabText(page).remove(u'&'));
        }
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));

        // Qt's own buttons come from the system's Qt catalog, where it is installed.
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_fr.qm"_s))
            QSKIP("Qt's French catalog (qt6-translations-l10n) is not installed");
        QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text().remove(u'&'), u"Annuler"_s);
    }
};

int main(int argc, char** argv) {
    // A French player's desktop, with the catalogs the build made.
    qputenv("LANGUAGE", "fr");
    QApplication app(argc, argv);
    useDesktopLanguage(std::filesystem::path(STRIDEWELL_BINARY_DIR) / "cli");
    ui::useQtCatalog(app);
    FrenchWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FrenchWindowTest.moc"
