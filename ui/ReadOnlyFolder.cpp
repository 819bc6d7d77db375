#include "ReadOnlyFolder.h"

#include "ToQString.h"
#include "core/Translate.h"
#include "database/WorkingCopy.h"

#include <QMessageBox>
#include <QPushButton>

namespace sw::ui {

std::optional<std::filesystem::path> askForWritableFolder(const std::filesystem::path& dir,
                                                          const EnvironmentGetter& env, QWidget* parent) {
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("Stridewell"),
        toQString(_("The data folder %1 cannot be written, so no race, bet or player of the "
                    "day could be saved.\n\nWork on a copy of it in your own data folder, or quit?"))
            .arg(QString::fromStdString(dir.string())),
        QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("msgReadOnlyFolder"));
    QPushButton* copy = box.addButton(toQString(_("Work on a &Copy")), QMessageBox::AcceptRole);
    box.addButton(toQString(_("&Quit")), QMessageBox::RejectRole);
    box.setDefaultButton(copy);
    // Asked before the game's window and event loop exist, so the box runs its own.
    box.exec();
    if (box.clickedButton() != copy)
        return std::nullopt;
    const DataDirectory working = makeWorkingCopy(dir, env);
    if (!working.ok()) {
        QMessageBox failed(QMessageBox::Critical, QStringLiteral("Stridewell"),
                           QString::fromStdString(working.error), QMessageBox::Ok, parent);
        failed.setObjectName(QStringLiteral("msgNoCopy"));
        failed.exec();
        return std::nullopt;
    }
    return working.dir;
}

} // namespace sw::ui
