#include "dialogs/elements/floatingframedialog.h"

#include "app/mainwindow.h"
#include "dialogs/elements/attributetext.h"
#include "dialogs/elements/dialogform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

QString floatingFrameMarkup(const QString &file, const QString &borderText)
{
    const QString border =
        borderText == QStringLiteral("なし") ? QStringLiteral("0") : QStringLiteral("1");
    return QStringLiteral("<IFRAME FRAMEBORDER=") + border + QStringLiteral(" SRC=\"") +
           attributetext::doubleQuoted(file) + QStringLiteral("\"></IFRAME>");
}

FloatingFrameDialog::FloatingFrameDialog(MainWindow &window) : QDialog(&window), m_window(window)
{
    DialogForm form(this, QStringLiteral("Form5"),
                    QStringLiteral("フローティングフレーム設定画面"));
    m_file = form.line(QStringLiteral("Text1"), QStringLiteral("フレーム内に表示させるファイル"),
                       QString());
    form.browseButton(QStringLiteral("Command1"), m_file, window.commonDialog(),
                      QStringLiteral("HTMファイル(*.htm)|*.htm|HTMLファイル(*.html)|*.html|"
                                     "全てのファイル(*.*)|*.*"));
    m_border = form.combo(QStringLiteral("Combo1"), QStringLiteral("枠線"),
                          {QStringLiteral("あり"), QStringLiteral("なし")}, QStringLiteral("あり"));
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command2"), QStringLiteral("Command3"));
    ok->setEnabled(false);
    resize(355, 78);
    connect(m_file, &QLineEdit::textChanged, ok,
            [ok](const QString &text) { ok->setEnabled(!text.isEmpty()); });
    connect(ok, &QPushButton::clicked, this, [this] {
        m_window.shared().insert_html =
            floatingFrameMarkup(m_file->text(), m_border->currentText());
        m_window.veld_go();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_file->clear();
        reject();
    });
}

} // namespace lumipage
