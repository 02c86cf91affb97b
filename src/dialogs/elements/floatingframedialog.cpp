#include "dialogs/elements/floatingframedialog.h"

#include "platform/desktop/dialogform.h"
#include "widgets/attributetext.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

BuildResult floatingFrameMarkup(const QString &file, const QString &borderText)
{
    const QString border =
        borderText == QStringLiteral("なし") ? QStringLiteral("0") : QStringLiteral("1");
    return BuildResult::fragment(QStringLiteral("<IFRAME FRAMEBORDER=") + border +
                                 QStringLiteral(" SRC=\"") + attributetext::doubleQuoted(file) +
                                 QStringLiteral("\"></IFRAME>"));
}

FloatingFrameDialog::FloatingFrameDialog(CommonDialog &commonDialog, QWidget *parent)
    : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("Form5"),
                    QStringLiteral("フローティングフレーム設定画面"));
    m_file = form.row(QStringLiteral("フレーム内に表示させるファイル"),
                      form.lineEdit(QStringLiteral("Text1")));
    form.browseButton(QStringLiteral("Command1"), m_file, commonDialog,
                      QStringLiteral("HTMファイル(*.htm)|*.htm|HTMLファイル(*.html)|*.html|"
                                     "全てのファイル(*.*)|*.*"));
    m_border = form.row(QStringLiteral("枠線"),
                        form.comboBox(QStringLiteral("Combo1"),
                                      {QStringLiteral("あり"), QStringLiteral("なし")},
                                      QStringLiteral("あり")));
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command2"), QStringLiteral("Command3"));
    ok->setEnabled(false);
    resize(355, 78);
    connect(m_file, &QLineEdit::textChanged, ok,
            [ok](const QString &text) { ok->setEnabled(!text.isEmpty()); });
    connect(ok, &QPushButton::clicked, this, [this] {
        m_built = floatingFrameMarkup(m_file->text(), m_border->currentText());
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_file->clear();
        reject();
    });
}

} // namespace lumipage
