#include "ExplanationDialog.h"

#include "FixedFont.h"
#include "ToQString.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace sw::ui {

bool asksForWorking(const QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease)
        return static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent*>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    return false;
}

ExplanationDialog::ExplanationDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmExplain"));
    setModal(false);
    m_lblTitle = new QLabel(this);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont bold = m_lblTitle->font();
    bold.setBold(true);
    m_lblTitle->setFont(bold);
    m_lstSteps = new QListWidget(this);
    m_lstSteps->setObjectName(QStringLiteral("lstSteps"));
    m_lstSteps->setFont(fixedFont());
    m_lstSteps->setWordWrap(true);
    m_lstSteps->setSelectionMode(QAbstractItemView::NoSelection);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblTitle);
    layout->addWidget(m_lstSteps, 1);
    layout->addWidget(buttons);
    const QFontMetrics metrics(m_lstSteps->font());
    resize(metrics.horizontalAdvance(QString(90, QLatin1Char('0'))), metrics.height() * 16);
}

void ExplanationDialog::setSteps(const QString& title, const std::vector<std::string>& steps) {
    setWindowTitle(title);
    m_lblTitle->setText(title);
    m_lstSteps->clear();
    for (const std::string& step : steps)
        m_lstSteps->addItem(toQString(step));
}

ExplanationDialog* ExplanationDialog::explain(QWidget* parent, const QString& title,
                                              const std::vector<std::string>& steps) {
    auto* dialog =
        parent->findChild<ExplanationDialog*>(QStringLiteral("frmExplain"), Qt::FindDirectChildrenOnly);
    if (!dialog)
        dialog = new ExplanationDialog(parent);
    dialog->setSteps(title, steps);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

} // namespace sw::ui
