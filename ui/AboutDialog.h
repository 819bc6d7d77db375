#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace sw::ui {

// The about box "frmAbout": title, version and what the game teaches; "System Info..." starts
// the desktop's system-information program and is hidden when there is none.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);
    // With the system-information program given (empty: none).
    AboutDialog(QWidget* parent, const QString& systemInfoProgram);

    // The first system-information program found on the PATH, or empty.
    static QString findSystemInfoProgram();
    // "Version " and major.minor.patch of this build.
    static QString versionText();

private:
    void startSystemInfo();

    QString m_systemInfoProgram;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdSysInfo = nullptr;
};

} // namespace sw::ui
