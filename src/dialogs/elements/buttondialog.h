#pragma once

#include <QDialog>

#include <variant>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumipage
{

class MainWindow;

// The button dialog's fields, as typed.
struct ButtonFields {
    QString title, event, action, message, target;
};
// What OK does: insert a fragment, show a validation message, or close without inserting.
struct ButtonMarkup {
    QString fragment;
};
struct ButtonProblem {
    QString message;
};
struct ButtonNothing {
};
using ButtonResult = std::variant<ButtonMarkup, ButtonProblem, ButtonNothing>;
ButtonResult buttonMarkup(const ButtonFields &fields);

// The button dialog `Form10`.
class ButtonDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ButtonDialog(MainWindow &window);

private:
    void actionChosen(const QString &action);
    void Command2_Click();

    MainWindow &m_window;
    QLineEdit *m_title, *m_target;
    QComboBox *m_event, *m_action;
    QPlainTextEdit *m_message;
    QPushButton *m_browse;
};

} // namespace lumipage
