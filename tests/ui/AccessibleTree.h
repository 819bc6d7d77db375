#pragma once

// What a screen reader finds in a window, read through Qt's accessibility interfaces as assistive
// technology reads them over AT-SPI.

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QMetaEnum>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace sw::test {

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
