#pragma once

#include <QDialog>

class QLineEdit;

namespace lumipage
{

class CommonDialog;
class EditingComponent;

// The link dialog `Form4`: makes the selection a link to the typed or browsed target.
class LinkDialog : public QDialog
{
    Q_OBJECT
public:
    LinkDialog(EditingComponent &editor, CommonDialog &commonDialog, QWidget *parent);

private:
    EditingComponent &m_editor;
    QLineEdit *m_target;
};

} // namespace lumipage
