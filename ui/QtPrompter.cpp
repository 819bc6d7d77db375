#include "QtPrompter.h"

#include "core/Translate.h"

#include <QApplication>
#include <QThread>

#include <string>

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

namespace {

bool offTheWindowThread() {
    return QThread::currentThread() != QApplication::instance()->thread();
}

} // namespace

void QtPrompter::message(std::string_view text, std::string_view title) {
    // Work the window runs on a thread of its own (the day's start) tells its messages through
    // the window's thread, which shows them in turn.
    if (offTheWindowThread()) {
        QMetaObject::invokeMethod(
            QApplication::instance(),
            [this, text = std::string(text), title = std::string(title)] { message(text, title); },
            Qt::QueuedConnection);
        return;
    }
    beforePrompt();
    enqueue({QMessageBox::Information, boxText(text), boxText(_(title)), {}});
}

bool QtPrompter::ask(std::string_view text, std::string_view title) {
    if (offTheWindowThread()) {
        bool yes = false;
        QMetaObject::invokeMethod(
            QApplication::instance(), [&] { yes = ask(text, title); }, Qt::BlockingQueuedConnection);
        return yes;
    }
    beforePrompt();
    QMessageBox box(QMessageBox::Question, boxText(_(title)), boxText(text),
                    QMessageBox::Yes | QMessageBox::No, owner());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompter::askThen(std::string_view text, std::string_view title, std::function<void(bool)> answered) {
    beforePrompt();
    enqueue({QMessageBox::Question, boxText(text), boxText(_(title)), std::move(answered)});
}

void QtPrompter::enqueue(Pending pending) {
    m_pending.push_back(std::move(pending));
    if (m_pending.size() == 1)
        openNext();
}

void QtPrompter::openNext() {
    const Pending& next = m_pending.front();
    const bool question = static_cast<bool>(next.answered);
    // Made when its turn comes, over the window the player is in then.
    auto* box = new QMessageBox(next.icon, next.title, next.text,
                                question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner());
    if (question)
        box->setDefaultButton(QMessageBox::Yes);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [this](int button) {
        const Pending done = std::move(m_pending.front());
        m_pending.pop_front();
        if (done.answered) {
            done.answered(button == QMessageBox::Yes);
            afterAnswer();
        }
        if (!m_pending.empty())
            openNext();
    });
    box->open();
}

} // namespace sw::ui
