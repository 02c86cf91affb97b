#include "dialogs/elements/backgroundimagedialog.h"

#include "app/mainwindow.h"
#include "dialogs/elements/backgroundmarkup.h"
#include "dialogs/elements/dialogform.h"
#include "platform/commondialog.h"
#include "platform/editing/editingcomponent.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

BackgroundImageDialog::BackgroundImageDialog(MainWindow &window)
    : QDialog(&window), m_window(window)
{
    DialogForm form(this, QStringLiteral("Form19"), QStringLiteral("背景画像設定"));
    m_path = form.line(QStringLiteral("Text1"), QStringLiteral("画像の指定"), QString());
    form.browseButton(
        QStringLiteral("Command1"), m_path, window.commonDialog(),
        QStringLiteral(
            "GIFファイル(*.gif)|*.gif|JPGファイル(*.jpg)|*.jpg|全てのファイル(*.*)|*.*"));
    m_pattern = form.combo(QStringLiteral("Combo1"), QStringLiteral("背景ﾊﾟﾀｰﾝ"),
                           {QStringLiteral("固定する"), QStringLiteral("固定しない")},
                           QStringLiteral("固定しない"));
    m_pattern->setEnabled(false);
    QPushButton *cancel;
    std::tie(m_ok, cancel) = form.okCancel(QStringLiteral("Command2"), QStringLiteral("Command3"));
    m_ok->setEnabled(false);
    resize(312, 87);

    connect(m_path, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_pattern->setEnabled(!text.isEmpty());
        m_ok->setEnabled(!text.isEmpty());
    });
    connect(m_ok, &QPushButton::clicked, this, &BackgroundImageDialog::Command2_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void BackgroundImageDialog::Command2_Click()
{
    const std::optional<QString> properties = backgroundProperties(m_pattern->currentText());
    if (!properties)
        return; // an unknown pattern text: nothing happens, the dialog stays
    SharedValues &shared = m_window.shared();
    shared.bg_properties = *properties;
    QString html = m_window.editor()->DocumentHTML();
    const qsizetype body = html.indexOf(QStringLiteral("<BODY"));
    shared.background_attr = backgroundAttr(m_path->text(), shared.bg_properties);
    if (body <= 0) { // no body tag, or the text starts with it
        m_window.toolbarButton(QStringLiteral("del_imageback"))->setEnabled(false);
        accept();
        return;
    }
    html.replace(QStringLiteral("<BODY"), shared.background_attr);
    m_window.Text7 = html;
    m_window.editor()->setDocumentHTML(html);
    m_window.toolbarButton(QStringLiteral("del_imageback"))->setEnabled(true);
    accept();
}

} // namespace lumipage
