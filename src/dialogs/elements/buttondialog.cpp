#include "dialogs/elements/buttondialog.h"

#include "app/mainwindow.h"
#include "dialogs/elements/attributetext.h"
#include "dialogs/elements/dialogform.h"
#include "platform/messages.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
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

ButtonResult buttonMarkup(const ButtonFields &f)
{
    if (f.event.isEmpty() || f.action.isEmpty() || f.message.isEmpty() || f.title.isEmpty())
        return ButtonProblem{QStringLiteral("未入力個所があります！")};
    QString statement;
    if (f.action == kMessage) {
        statement =
            QStringLiteral("MsgBox\"") + attributetext::vbString(f.message) + QLatin1Char('"');
    } else if (f.action == kJump || f.action == kUrl) {
        if (f.action == kJump && f.target.isEmpty())
            return ButtonProblem{QStringLiteral("リンク先が不定です。")};
        statement = QStringLiteral("Window.location.href=\"") + attributetext::vbString(f.target) +
                    QLatin1Char('"');
    } else {
        return ButtonNothing{};
    }
    return ButtonMarkup{QStringLiteral("<BUTTON TITLE=Button LANGUAGE=VBSCRIPT ") + f.event +
                        QStringLiteral("='") + attributetext::singleQuoted(statement) +
                        QStringLiteral("'>") + f.title + QStringLiteral("</BUTTON>")};
}

ButtonDialog::ButtonDialog(MainWindow &window) : QDialog(&window), m_window(window)
{
    DialogForm form(this, QStringLiteral("Form10"), QStringLiteral("Form10"));
    m_title =
        form.line(QStringLiteral("Text3"), QStringLiteral("ﾀｲﾄﾙ"), QStringLiteral("タイトル"));
    m_event = form.combo(QStringLiteral("Combo1"), QStringLiteral("ｲﾍﾞﾝﾄ"),
                         {QStringLiteral("onmouseover"), QStringLiteral("onmouseout"),
                          QStringLiteral("onclick"), QStringLiteral("ondblclick")},
                         QString());
    m_action = form.combo(QStringLiteral("Combo2"), QStringLiteral("処理"), {kMessage, kJump, kUrl},
                          QString());
    m_message = new QPlainTextEdit(QStringLiteral("ようこそ！私のホームページへ。"), this);
    m_message->setObjectName(QStringLiteral("Text1"));
    m_message->setEnabled(false);
    m_message->setMaximumHeight(60);
    const int row = form.nextRow();
    form.grid()->addWidget(new QLabel(QStringLiteral("内容"), this), row, 0);
    form.grid()->addWidget(m_message, row, 1, 1, 2);
    form.skipRow();
    m_target = form.line(QStringLiteral("Text2"), QStringLiteral("ｼﾞｬﾝﾌﾟ先"), QString());
    m_target->setEnabled(false);
    m_browse = form.browseButton(
        QStringLiteral("Command1"), m_target, window.commonDialog(),
        QStringLiteral("HTMファイル(*.htm)|*.htm|HTMLファイル(*.html)|*.html"), 6144);
    m_browse->setEnabled(false);
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command2"), QStringLiteral("Command3"));
    resize(335, 228);

    connect(m_action, &QComboBox::activated, this,
            [this](int index) { actionChosen(m_action->itemText(index)); });
    connect(ok, &QPushButton::clicked, this, &ButtonDialog::Command2_Click);
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

void ButtonDialog::Command2_Click()
{
    const ButtonResult result =
        buttonMarkup({m_title->text(), m_event->currentText(), m_action->currentText(),
                      m_message->toPlainText(), m_target->text()});
    if (const auto *problem = std::get_if<ButtonProblem>(&result)) {
        messages::inform(this, problem->message);
        return;
    }
    if (const auto *markup = std::get_if<ButtonMarkup>(&result)) {
        m_window.shared().insert_html = markup->fragment;
        m_window.veld_go();
    }
    accept();
}

} // namespace lumipage
