#pragma once

#include <QDialog>

class QLineEdit;

namespace lumipage
{

class CommonDialog;

// The link dialog `Form4`: asks for the target the selection is to link to, typed or
// browsed; the opener makes the link.
class LinkDialog : public QDialog
{
    Q_OBJECT
public:
    LinkDialog(CommonDialog &commonDialog, QWidget *parent);

    // The target exactly as typed or chosen (after OK).
    QString target() const;

private:
    QLineEdit *m_target;
};

} // namespace lumipage
