#pragma once

// A race day for the window tests: the game on disk, with helpers to move the day on without any
// window and to read the windows, and what a screen reader finds in them.

#include "core/Constants.h"
#include "core/ShownMoney.h"
#include "game/Game.h"
#include "support/GameDay.h"
#include "support/TestSupport.h"
#include "ui/TextTableModel.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace sw::test {

// u"..."_s and "..."_L1 wherever the tests use this namespace.
using namespace Qt::StringLiterals;

struct WindowTestDay : GameOnDisk {
    // Unstarted, the day is left for the main window to start.
    explicit WindowTestDay(uint64_t seed = 20240611, bool started = true) : GameOnDisk(seed) {
        if (started)
            game.startDay();
    }

    RaceDay& day() { return game.day(); }
    std::filesystem::path file(const char* name) const { return dir / name; }

    // Leaves the program and runs the race about to be run; the day then waits on its results.
    void runRace() {
        if (game.stage() == Stage::Program)
            game.toteBoard();
        game.beginRace(nullptr);
        game.finishRace();
    }
    // Plays the next races without any window: run, show the results at once, confirm.
    void playRaces(int count) {
        for (int i = 0; i < count; ++i) {
            runRace();
            game.runResultsToEnd();
            game.confirmResults();
        }
    }
};

inline QString qtext(const std::string& text) {
    return QString::fromStdString(text);
}
template <typename Lines = std::vector<std::string>> QStringList qtexts(const Lines& lines) {
    QStringList texts;
    for (const auto& line : lines)
        texts << qtext(line);
    return texts;
}
// A table's rows of texts, as the window shows them.
template <typename Rows> QList<QStringList> qrows(const Rows& rows) {
    QList<QStringList> texts;
    for (const auto& row : rows)
        texts.emplaceBack(qtexts(row));
    return texts;
}
// The lines as the window shows them, with its money texts ($0.00, $1,234.00).
inline QStringList shownTexts(std::vector<std::string> lines) {
    for (std::string& line : lines)
        line = shownMoneyIn(line);
    return qtexts(lines);
}

template <typename T = QLabel> T* child(const QWidget* window, const QString& name) {
    return window->findChild<T*>(name);
}
inline QString text(const QWidget* window, const QString& name) {
    return child(window, name)->text();
}
inline QPushButton* button(const QWidget* window, const QString& name) {
    return child<QPushButton>(window, name);
}
inline QStringList items(const QListWidget* list, int role = Qt::DisplayRole) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->data(role).toString();
    return texts;
}
// The cell that goes by `name` (the board's "lblOdds3", a payoff's "lblExactaPayoff") in any of the
// game's tables under `root`.
inline QModelIndex namedCell(const QWidget* root, const QString& name) {
    for (const QAbstractItemView* view : root->findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* model = view->model();
        const int role = qobject_cast<const ui::TextTableModel*>(model) ? int{ui::TextTableModel::NameRole}
                                                                        : int{Qt::UserRole};
        for (int c = 0; c < model->columnCount(); ++c)
            if (const auto found = model->match(model->index(0, c), role, name, 1, Qt::MatchExactly);
                !found.isEmpty())
                return found.first();
    }
    return {};
}
// A table's rows, each as its cells' texts.
inline QList<QStringList> tableRows(const QAbstractItemView* view, int role = Qt::DisplayRole) {
    QList<QStringList> rows;
    const QAbstractItemModel* model = view->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList& row = rows.emplaceBack();
        for (int c = 0; c < model->columnCount(); ++c)
            row << model->index(r, c).data(role).toString();
    }
    return rows;
}
// The windows of the game shown over the main window, by object name.
inline QWidgetList openWindows(const char* name) {
    QWidgetList shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == QLatin1String(name))
            shown << w;
    return shown;
}
inline QWidget* openWindow(const char* name) {
    return openWindows(name).value(0);
}
inline void press(const char* window, const char* name) {
    QTest::mouseClick(button(openWindow(window), QLatin1String(name)), Qt::LeftButton);
}
// Waits for the racing program a new race opens and leaves it by OK; true once the race is bet.
inline bool startBetting(const Game& game, int waitMs = 5000) {
    if (!QTest::qWaitFor([] { return openWindow("frmPastPerf") != nullptr; }, waitMs))
        return false;
    press("frmPastPerf", "cmdOK");
    return QTest::qWaitFor([&] { return game.stage() == Stage::Betting && !openWindow("frmPastPerf"); });
}
// Starts the results show unless it has started, takes its pauses at once and waits for OK.
inline bool runResultsShow(QWidget* results) {
    if (!results)
        return false;
    if (QPushButton* show = button(results, u"cmdShow"_s); show->isEnabled())
        show->click();
    auto* pause = child<QTimer>(results, u"timerReveal"_s);
    return QTest::qWaitFor([&] {
        if (pause->isActive())
            pause->start(0);
        return button(results, u"cmdOK"_s)->isEnabled();
    });
}

// What a screen reader finds, read through Qt's accessibility interfaces as assistive technology
// reads them over AT-SPI.

// Calls visit on root and, while it returns true, on the elements under it, with their depth.
inline void walkAccessible(QAccessibleInterface* root,
                           const std::function<bool(QAccessibleInterface*, int)>& visit, int depth = 0) {
    if (!root || !root->isValid() || !visit(root, depth))
        return;
    for (int i = 0; i < root->childCount(); ++i)
        walkAccessible(root->child(i), visit, depth + 1);
}

inline QString roleName(const QAccessibleInterface* element) {
    return QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(element->role()));
}

// A control the player reaches by keyboard: a shown widget that takes focus (usable or not), a
// tab, or a menu's item.
inline bool reachedByKeyboard(QAccessibleInterface* element) {
    if (auto* widget = qobject_cast<QWidget*>(element->object()))
        return widget->isVisible() && widget->focusPolicy() != Qt::NoFocus;
    if (auto* action = qobject_cast<QAction*>(element->object()))
        return action->isVisible() && !action->isSeparator();
    return element->role() == QAccessible::PageTab;
}

// Every control of window, its menus included, the keyboard reaches and a screen reader cannot
// name: its role and object name, one a line.
inline QStringList unnamedControls(QWidget* window) {
    QStringList unnamed;
    QList<QObject*> roots{window};
    for (QMenu* menu : window->findChildren<QMenu*>())
        roots << menu;
    for (QObject* root : roots)
        walkAccessible(QAccessible::queryAccessibleInterface(root), [&](QAccessibleInterface* element, int) {
            if (reachedByKeyboard(element) && element->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << roleName(element) + u' ' +
                               (element->object() ? element->object()->objectName() : QString());
            return true;
        });
    return unnamed;
}

// Once a message box is up, presses its button `pressed` (its text, "&" aside) and keeps in `read`
// its title and text. A box is an alert to a screen reader (Qt tells it so as the box shows), which
// reads it by its title and text: should it not find them, `read` is what it found instead.
inline void answerBox(const QString& pressed, QString& read) {
    QTimer::singleShot(0, [pressed, &read] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        QStringList heard;
        walkAccessible(QAccessible::queryAccessibleInterface(box),
                       [&heard](QAccessibleInterface* element, int) {
                           heard << element->text(QAccessible::Name);
                           return true;
                       });
        read = heard.contains(box->windowTitle()) && heard.contains(box->text())
                   ? box->windowTitle() + u':' + box->text()
                   : u"unread: "_s + heard.join(u'|');
        for (QAbstractButton* b : box->buttons())
            if (b->text().remove(u'&') == pressed)
                b->click();
    });
}

// A table view as a screen reader reads it.
inline QAccessibleTableInterface* tableOf(QWidget* view) {
    QAccessibleInterface* element = QAccessible::queryAccessibleInterface(view);
    return element ? element->tableInterface() : nullptr;
}
// The names of its column headings, as read for each cell.
inline QStringList columnHeadings(QAccessibleTableInterface* table) {
    QStringList headings;
    for (int c = 0; c < table->columnCount(); ++c)
        headings << table->cellAt(0, c)->tableCellInterface()->columnHeaderCells().value(0)->text(
            QAccessible::Name);
    return headings;
}
// What it reads for each cell of row r.
inline QStringList rowCells(QAccessibleTableInterface* table, int r) {
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c)
        cells << table->cellAt(r, c)->text(QAccessible::Name);
    return cells;
}

} // namespace sw::test
