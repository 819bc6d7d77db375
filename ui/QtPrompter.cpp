#include "QtPrompter.h"

#include <QApplication>
#include <QMessageBox>

namespace sw::ui {

QString QtPrompter::boxText(std::string_view text) {
    QString out = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

QWidget* QtPrompter::owner() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_parent.data();
}

void QtPrompter::message(std::string_view text, std::string_view title) {
    beforePrompt();
    QMessageBox box(QMessageBox::Information, boxText(title), boxText(text), QMessageBox::Ok, owner());
    box.exec();
}

bool QtPrompter::ask(std::string_view text, std::string_view title) {
    beforePrompt();
    QMessageBox box(QMessageBox::Question, boxText(title), boxText(text), QMessageBox::Yes | QMessageBox::No,
                    owner());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompter::askThen(std::string_view text, std::string_view title, std::function<void(bool)> answered) {
    beforePrompt();
    auto* box = new QMessageBox(QMessageBox::Question, boxText(title), boxText(text),
                                QMessageBox::Yes | QMessageBox::No, owner());
    box->setDefaultButton(QMessageBox::Yes);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box,
                     [answered = std::move(answered)](int button) { answered(button == QMessageBox::Yes); });
    box->open();
}

} // namespace sw::ui
