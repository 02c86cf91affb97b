#include "dialogs/elements/backgroundimagedialog.h"

#include "platform/desktop/commondialog.h"
#include "platform/desktop/dialogform.h"
#include "widgets/backgroundmarkup.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

BackgroundImageDialog::BackgroundImageDialog(CommonDialog &commonDialog, QWidget *parent)
    : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("Form19"), QStringLiteral("背景画像設定"));
    m_path = form.row(QStringLiteral("画像の指定"), form.lineEdit(QStringLiteral("Text1")));
    form.browseButton(
        QStringLiteral("Command1"), m_path, commonDialog,
        QStringLiteral(
            "GIFファイル(*.gif)|*.gif|JPGファイル(*.jpg)|*.jpg|全てのファイル(*.*)|*.*"));
    m_pattern = form.row(QStringLiteral("背景ﾊﾟﾀｰﾝ"),
                         form.comboBox(QStringLiteral("Combo1"),
                                       {QStringLiteral("固定する"), QStringLiteral("固定しない")},
                                       QStringLiteral("固定しない")));
    m_pattern->setEnabled(false);
    QPushButton *cancel;
    std::tie(m_ok, cancel) = form.okCancel(QStringLiteral("Command2"), QStringLiteral("Command3"));
    m_ok->setEnabled(false);
    resize(312, 87);

    connect(m_path, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_pattern->setEnabled(!text.isEmpty());
        m_ok->setEnabled(!text.isEmpty());
    });
    connect(m_ok, &QPushButton::clicked, this, &BackgroundImageDialog::apply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void BackgroundImageDialog::apply()
{
    const std::optional<QString> properties = backgroundProperties(m_pattern->currentText());
    if (!properties)
        return; // an unknown pattern text: nothing happens, the dialog stays
    m_choice = {m_path->text(), *properties};
    accept();
}

} // namespace lumipage
