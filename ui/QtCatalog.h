#pragma once

class QCoreApplication;

namespace sw::ui {

// Qt's own texts (the dialogs' OK, Cancel, Yes and No, the context menus) in the desktop's
// language, from the qtbase catalog the system's Qt ships. Without that catalog they stay English
// and the game runs all the same. True when a catalog was loaded.
bool useQtCatalog(QCoreApplication& app);

} // namespace sw::ui
