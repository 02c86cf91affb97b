#include "dialogs/elements/linkdialog.h"

#include "platform/commondialog.h"
#include "platform/editing/editingcomponent.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

LinkDialog::LinkDialog(EditingComponent &editor, CommonDialog &commonDialog, QWidget *parent)
    : QDialog(parent), m_editor(editor), m_commonDialog(commonDialog)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("リンク先の指定"));
    auto *grid = new QGridLayout(this);
    auto *label = new QLabel(QStringLiteral("リンク先を指定してください。"), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_target = new QLineEdit(QStringLiteral("http://"), this);
    m_target->setObjectName(QStringLiteral("Text1"));
    auto *browse = new QPushButton(QStringLiteral("参照"), this);
    browse->setObjectName(QStringLiteral("Command1"));
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command2"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command3"));
    grid->addWidget(label, 0, 0, 1, 3);
    grid->addWidget(m_target, 1, 0, 1, 2);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(ok, 2, 1);
    grid->addWidget(cancel, 2, 2);
    resize(392, 73);

    connect(browse, &QPushButton::clicked, this, [this] {
        m_commonDialog.filter =
            QStringLiteral("HTMファイル(*.htm)|*.htm|HTMLファイル(*.html)|*.html");
        if (const auto file = m_commonDialog.showOpen(this))
            m_target->setText(*file);
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        m_editor.ExecCommand(decmd::HYPERLINK, OptionDontPrompt, m_target->text());
        m_editor.Refresh();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
