#include "source/replacedialog.h"

#include "insert/sharedvalues.h"
#include "platform/messages.h"
#include "source/replace.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumipage
{

ReplaceDialog::ReplaceDialog(SharedValues &shared, QPlainTextEdit &source, QWidget *parent)
    : QDialog(parent), m_shared(shared), m_source(source)
{
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("置換"));
    auto *grid = new QGridLayout(this);
    m_before = new QLineEdit(this);
    m_before->setObjectName(QStringLiteral("Text1"));
    m_after = new QLineEdit(this);
    m_after->setObjectName(QStringLiteral("Text2"));
    m_replace = new QPushButton(QStringLiteral("一括置換"), this);
    m_replace->setObjectName(QStringLiteral("Command1"));
    auto *cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    grid->addWidget(new QLabel(QStringLiteral("置換前文字"), this), 0, 0);
    grid->addWidget(m_before, 0, 1);
    grid->addWidget(m_replace, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("置換後文字"), this), 1, 0);
    grid->addWidget(m_after, 1, 1);
    grid->addWidget(cancel, 1, 2);
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
