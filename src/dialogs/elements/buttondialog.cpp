#include "dialogs/elements/buttondialog.h"

#include "platform/desktop/dialogform.h"
#include "platform/desktop/messages.h"
#include "widgets/attributetext.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumipage
{

namespace
{
const QString kMessage = QStringLiteral("ﾒｯｾｰｼﾞ");
const QString kJump = QStringLiteral("ｼﾞｬﾝﾌﾟ");
const QString kUrl = QStringLiteral("URL");
} // namespace

BuildResult buttonMarkup(const ButtonFields &f)
{
    if (f.event.isEmpty() || f.action.isEmpty() || f.message.isEmpty() || f.title.isEmpty())
        return BuildResult::problem(QStringLiteral("未入力個所があります！"));
    QString statement;
    if (f.action == kMessage) {
        statement =
            QStringLiteral("MsgBox\"") + attributetext::vbString(f.message) + QLatin1Char('"');
    } else if (f.action == kJump || f.action == kUrl) {
        if (f.action == kJump && f.target.isEmpty())
            return BuildResult::problem(QStringLiteral("リンク先が不定です。"));
        statement = QStringLiteral("Window.location.href=\"") + attributetext::vbString(f.target) +
                    QLatin1Char('"');
    } else {
        return BuildResult::nothing();
    }
    return BuildResult::fragment(QStringLiteral("<BUTTON TITLE=Button LANGUAGE=VBSCRIPT ") +
                                 f.event + QStringLiteral("='") +
                                 attributetext::singleQuoted(statement) + QStringLiteral("'>") +
                                 f.title + QStringLiteral("</BUTTON>"));
}

ButtonDialog::ButtonDialog(CommonDialog &commonDialog, QWidget *parent) : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("Form10"), QStringLiteral("Form10"));
    m_title = form.row(QStringLiteral("ﾀｲﾄﾙ"),
                       form.lineEdit(QStringLiteral("Text3"), QStringLiteral("タイトル")));
    m_event = form.row(QStringLiteral("ｲﾍﾞﾝﾄ"),
                       form.comboBox(QStringLiteral("Combo1"),
                                     {QStringLiteral("onmouseover"), QStringLiteral("onmouseout"),
                                      QStringLiteral("onclick"), QStringLiteral("ondblclick")},
                                     QString()));
    m_action = form.row(QStringLiteral("処理"), form.comboBox(QStringLiteral("Combo2"),
                                                              {kMessage, kJump, kUrl}, QString()));
    m_message = new QPlainTextEdit(QStringLiteral("ようこそ！私のホームページへ。"), this);
    m_message->setObjectName(QStringLiteral("Text1"));
    m_message->setEnabled(false);
    m_message->setMaximumHeight(60);
    form.wideRow(QStringLiteral("内容"), m_message);
    m_target = form.row(QStringLiteral("ｼﾞｬﾝﾌﾟ先"), form.lineEdit(QStringLiteral("Text2")));
    m_target->setEnabled(false);
    m_browse = form.browseButton(
        QStringLiteral("Command1"), m_target, commonDialog,
        QStringLiteral("HTMファイル(*.htm)|*.htm|HTMLファイル(*.html)|*.html"), 6144);
    m_browse->setEnabled(false);
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command2"), QStringLiteral("Command3"));
    resize(335, 228);

    connect(m_action, &QComboBox::activated, this,
            [this](int index) { actionChosen(m_action->itemText(index)); });
    connect(ok, &QPushButton::clicked, this, &ButtonDialog::build);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ButtonDialog::actionChosen(const QString &action)
{
    const bool message = action == kMessage;
    m_message->setEnabled(message);
    m_target->setEnabled(!message);
    m_browse->setEnabled(action == kJump);
    if (action == kJump)
        m_target->clear();
    else if (action == kUrl)
        m_target->setText(QStringLiteral("http://"));
    (message ? static_cast<QWidget *>(m_message) : m_target)->setFocus();
}

void ButtonDialog::build()
{
    const BuildResult result =
        buttonMarkup({m_title->text(), m_event->currentText(), m_action->currentText(),
                      m_message->toPlainText(), m_target->text()});
    if (result.isProblem()) {
        messages::inform(this, result.text);
        return;
    }
    m_built = result;
    accept();
}

} // namespace lumipage
