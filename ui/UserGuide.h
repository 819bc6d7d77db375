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

// Opens the user guide with the desktop's browser. When the desktop cannot (or the guide is
// missing) the guide is shown in a window of our own, "frmUserGuide", which is returned; null
// when the desktop opened it.
QWidget* openUserGuide(QWidget* parent, const DocumentOpener& opener = {});

} // namespace sw::ui
