#include "source/replacedialog.h"

#include "platform/desktop/dialogform.h"
#include "platform/desktop/messages.h"
#include "source/replace.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumipage
{

ReplaceDialog::ReplaceDialog(ReplaceTexts &texts, QPlainTextEdit &source, QWidget *parent)
    : QDialog(parent), m_texts(texts), m_source(source)
{
    DialogForm form(this, QStringLiteral("Form18"), QStringLiteral("置換"));
    m_before = form.row(QStringLiteral("置換前文字"), form.lineEdit(QStringLiteral("Text1")));
    m_after = form.row(QStringLiteral("置換後文字"), form.lineEdit(QStringLiteral("Text2")));
    QPushButton *cancel;
    std::tie(m_replace, cancel) =
        form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"),
                      QStringLiteral("一括置換"), QStringLiteral("ｷｬﾝｾﾙ"));
    resize(269, 94);

    connect(m_before, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_replace->setEnabled(!text.isEmpty());
        m_texts.find = text;
    });
    m_before->setText(m_texts.find);
    m_replace->setEnabled(!m_before->text().isEmpty());
    connect(m_replace, &QPushButton::clicked, this, &ReplaceDialog::replaceInSource);
    connect(cancel, &QPushButton::clicked, this, &ReplaceDialog::cancel);
}

void ReplaceDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    (m_before->text().isEmpty() ? m_before : m_after)->setFocus();
}

void ReplaceDialog::replaceInSource()
{
    if (m_after->text().isEmpty()) {
        messages::inform(this, QStringLiteral("置換後の文字が入力されていません！"));
        m_after->setFocus();
        return;
    }
    m_texts.find = m_before->text();
    m_texts.replacement = m_after->text();
    m_source.setPlainText(replaceAll(m_source.toPlainText(), m_texts.find, m_texts.replacement));
    accept();
}

void ReplaceDialog::cancel()
{
    m_before->clear();
    m_after->clear();
    m_texts.find.clear();
    m_texts.replacement.clear();
    reject();
}

} // namespace lumipage
