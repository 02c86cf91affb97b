#include "dialogs/elements/linkdialog.h"

#include "platform/dialogform.h"
#include "platform/editing/editingcomponent.h"

#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

LinkDialog::LinkDialog(EditingComponent &editor, CommonDialog &commonDialog, QWidget *parent)
    : QDialog(parent), m_editor(editor)
{
    DialogForm form(this, QStringLiteral("Form4"), QStringLiteral("リンク先の指定"));
    form.label(QStringLiteral("Label1"), QStringLiteral("リンク先を指定してください。"));
    m_target =
        form.row(QString(), form.lineEdit(QStringLiteral("Text1"), QStringLiteral("http://")));
    form.browseButton(QStringLiteral("Command1"), m_target, commonDialog,
                      QStringLiteral("HTMファイル(*.htm)|*.htm|HTMLファイル(*.html)|*.html"));
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command2"), QStringLiteral("Command3"));
    resize(392, 73);

    // The target goes to the component exactly as typed or chosen.
    connect(ok, &QPushButton::clicked, this, [this] {
        m_editor.ExecCommand(decmd::HYPERLINK, CommandOption::DontPrompt, m_target->text());
        m_editor.Refresh();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
