#include "source/replacedialog.h"

#include "dialogs/elements/dialogform.h"
#include "insert/sharedvalues.h"
#include "platform/messages.h"
#include "source/replace.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumipage
{

ReplaceDialog::ReplaceDialog(SharedValues &shared, QPlainTextEdit &source, QWidget *parent)
    : QDialog(parent), m_shared(shared), m_source(source)
{
    DialogForm form(this, QStringLiteral("Form18"), QStringLiteral("置換"));
    m_before = form.line(QStringLiteral("Text1"), QStringLiteral("置換前文字"), QString());
    m_after = form.line(QStringLiteral("Text2"), QStringLiteral("置換後文字"), QString());
    QPushButton *cancel;
    std::tie(m_replace, cancel) =
        form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"),
                      QStringLiteral("一括置換"), QStringLiteral("ｷｬﾝｾﾙ"));
    resize(269, 94);

    connect(m_before, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_replace->setEnabled(!text.isEmpty());
        m_shared.find_text = text;
    });
    m_before->setText(m_shared.find_text);
    m_replace->setEnabled(!m_before->text().isEmpty());
    connect(m_replace, &QPushButton::clicked, this, &ReplaceDialog::Command1_Click);
    connect(cancel, &QPushButton::clicked, this, &ReplaceDialog::Command2_Click);
}

void ReplaceDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    (m_before->text().isEmpty() ? m_before : m_after)->setFocus();
}

void ReplaceDialog::Command1_Click()
{
    if (m_after->text().isEmpty()) {
        messages::inform(this, QStringLiteral("置換後の文字が入力されていません！"));
        m_after->setFocus();
        return;
    }
    m_shared.find_text = m_before->text();
    m_shared.replace_text = m_after->text();
    m_source.setPlainText(
        replaceAll(m_source.toPlainText(), m_shared.find_text, m_shared.replace_text));
    accept();
}

void ReplaceDialog::Command2_Click()
{
    m_before->clear();
    m_after->clear();
    m_shared.find_text.clear();
    m_shared.replace_text.clear();
    reject();
}

} // namespace lumipage
