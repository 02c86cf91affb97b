#include "dialogs/elements/linkdialog.h"

#include "platform/desktop/dialogform.h"

#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

LinkDialog::LinkDialog(CommonDialog &commonDialog, QWidget *parent) : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("Form4"), QStringLiteral("リンク先の指定"));
    form.label(QStringLiteral("Label1"), QStringLiteral("リンク先を指定してください。"));
    m_target =
        form.row(QString(), form.lineEdit(QStringLiteral("Text1"), QStringLiteral("http://")));
    form.browseButton(QStringLiteral("Command1"), m_target, commonDialog,
                      QStringLiteral("HTMファイル(*.htm)|*.htm|HTMLファイル(*.html)|*.html"));
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command2"), QStringLiteral("Command3"));
    resize(392, 73);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString LinkDialog::target() const
{
    return m_target->text();
}

} // namespace lumipage
