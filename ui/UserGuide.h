#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace sw::ui {

// Asks the desktop to open a document; true when it did.
using DocumentOpener = std::function<bool(const QUrl&)>;

// The user guide's file: userguide.htm beside the executable (or in its docs folder), else the
// one in the source tree's docs folder; empty when there is none.
QString userGuidePath();

// Shows the user guide in a window of our own, "frmUserGuide", which is returned: the desktop's
// handler for .htm may be anything (a text editor in a terminal). Its "Open in Browser" button
// (cmdOpenInBrowser) hands the guide to the opener, the desktop's by default.
QWidget* openUserGuide(QWidget* parent, const DocumentOpener& opener = {});
// The same for the guide at `path` (empty: none installed).
QWidget* showUserGuide(QWidget* parent, const QString& path, const DocumentOpener& opener = {});

} // namespace sw::ui
