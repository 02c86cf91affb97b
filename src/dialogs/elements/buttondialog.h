#pragma once

#include "fragments/dialogresult.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumipage
{

class CommonDialog;

// The button dialog's fields, as typed.
struct ButtonFields {
    QString title, event, action, message, target;
};
// The BUTTON fragment, a validation message, or nothing for an action it does not know.
BuildResult buttonMarkup(const ButtonFields &fields);

// The button dialog `Form10`. On OK it keeps what it built (a fragment, or nothing for an
// unknown action) and closes; a problem is shown and the dialog stays open.
class ButtonDialog : public QDialog
{
    Q_OBJECT
public:
    // `commonDialog` serves the browse button of the jump target.
    ButtonDialog(CommonDialog &commonDialog, QWidget *parent);

    // What OK built; nothing until then.
    BuildResult built() const { return m_built; }

private:
    void actionChosen(const QString &action);
    void build();

    BuildResult m_built;
    QLineEdit *m_title, *m_target;
    QComboBox *m_event, *m_action;
    QPlainTextEdit *m_message;
    QPushButton *m_browse;
};

} // namespace lumipage
