#include "source/sourcewindow.h"

#include "platform/desktop/commondialog.h"
#include "platform/editing/editingcomponent.h"
#include "platform/desktop/messages.h"
#include "source/replacedialog.h"
#include "widgets/icons.h"

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumipage
{

SourceWindow::SourceWindow(EditingComponent &editor, CommonDialog &commonDialog,
                           const QString &reference, QWidget *parent)
    : QDialog(parent), m_editor(editor), m_commonDialog(commonDialog), m_reference(reference)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("HTML Source"));
    auto *hint = new QLabel(QStringLiteral("マウスの右クリックで各種メニュー表示"), this);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setGeometry(16, 2, 260, 20);
    auto *search = new QPushButton(this);
    search->setObjectName(QStringLiteral("Command1"));
    search->setToolTip(QStringLiteral("検索"));
    search->setIcon(Icons::glyph(QStringLiteral("探"), 3));
    search->setGeometry(290, 0, 22, 22);
    auto *font = new QPushButton(this);
    font->setObjectName(QStringLiteral("Command2"));
    font->setToolTip(QStringLiteral("文字色・文字サイズの設定"));
    font->setIcon(Icons::glyph(QStringLiteral("字"), 2));
    font->setGeometry(316, 0, 22, 22);
    m_check = new QCheckBox(QStringLiteral("ﾁｪｯｸONで<BR>挿入"), this);
    m_check->setObjectName(QStringLiteral("Check1"));
    m_check->setToolTip(QStringLiteral("<BR>タグの挿入"));
    m_check->setGeometry(420, 0, 160, 22);
    m_text = new QPlainTextEdit(reference, this);
    m_text->setObjectName(QStringLiteral("Text1"));
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->move(16, 24);
    m_text->viewport()->installEventFilter(this);
    resize(8820 / 15, 5625 / 15);

    connect(m_check, &QCheckBox::toggled, this,
            [this](bool on) { m_brTag = on ? QStringLiteral("<BR>") : QString(); });
    connect(search, &QPushButton::clicked, this, &SourceWindow::openReplace);
    connect(font, &QPushButton::clicked, this, &SourceWindow::chooseFont);
}

void SourceWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_text->resize(std::max(50, width() - 400 / 15), std::max(50, height() - 1000 / 15 + 24));
}

bool SourceWindow::eventFilter(QObject *watched, QEvent *event)
{
    // With the box ticked, each click puts a <BR> where it lands.
    if (watched == m_text->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && !m_brTag.isEmpty())
        m_text->insertPlainText(m_brTag);
    return QDialog::eventFilter(watched, event);
}

void SourceWindow::openReplace()
{
    m_replaceTexts.find =
        m_text->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    if (m_replaceTexts.find.isEmpty()) {
        messages::inform(this, QStringLiteral("置換する文字が選択されていません！"));
        return;
    }
    ReplaceDialog dialog(m_replaceTexts, *m_text, this);
    dialog.exec();
}

void SourceWindow::chooseFont()
{
    m_text->setFocus();
    m_text->selectAll();
    m_commonDialog.flags = 257;
    const auto choice =
        m_commonDialog.showFont(this, {m_text->font(), m_text->palette().color(QPalette::Text)});
    if (!choice)
        return;
    m_text->setFont(choice->font);
    QPalette palette = m_text->palette();
    palette.setColor(QPalette::Text, choice->color);
    m_text->setPalette(palette);
}

void SourceWindow::done(int result)
{
    // Closing is the only way out: write back a changed text when the user agrees.
    if (!m_closing && m_text->toPlainText() != m_reference) {
        m_closing = true;
        if (messages::ask(this, QStringLiteral("確認"),
                          QStringLiteral("内容が更新されています。更新しますか？"),
                          QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok) {
            m_editor.setDocumentHTML(m_text->toPlainText());
            m_editor.Refresh();
        }
    }
    QDialog::done(result);
}

} // namespace lumipage
