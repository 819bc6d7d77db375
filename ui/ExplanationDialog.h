#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QEvent;
class QLabel;
class QListWidget;

namespace sw::ui {

// A small window, "frmExplain", that shows how a figure was worked out, one step a line. One per
// parent window: explaining another figure replaces what it shows. Never modal, so the window
// beneath keeps working.
class ExplanationDialog : public QDialog {
    Q_OBJECT

public:
    explicit ExplanationDialog(QWidget* parent);

    void setSteps(const QString& title, const std::vector<std::string>& steps);

    // The parent's explanation window, created on first use, filled and shown.
    static ExplanationDialog* explain(QWidget* parent, const QString& title,
                                      const std::vector<std::string>& steps);

private:
    QLabel* m_lblTitle = nullptr;
    QListWidget* m_lstSteps = nullptr;
};

// A left click released or Return/Enter pressed on a figure: how the player asks for its working.
bool asksForWorking(const QEvent* event);

} // namespace sw::ui
