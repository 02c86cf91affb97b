#include "dialogs/elements/selectitemsdialog.h"

#include "platform/desktop/messages.h"
#include "widgets/icons.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumipage
{

QString optionLine(const QString &item)
{
    return QStringLiteral("<OPTION>") + item + QStringLiteral("</OPTION>\r\n");
}

BuildResult selectMarkup(const QString &source)
{
    return BuildResult::fragment(QStringLiteral("<SELECT>") + source + QStringLiteral("</SELECT>"));
}

SelectItemsDialog::SelectItemsDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(QStringLiteral("項目設定"));
    auto *grid = new QGridLayout(this);
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("Text1"));
    m_add = new QPushButton(Icons::glyph(QStringLiteral("+"), 1), QString(), this);
    m_add->setObjectName(QStringLiteral("Command1"));
    m_add->setEnabled(false);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List1"));
    auto *clear = new QPushButton(QStringLiteral("全削除"), this);
    clear->setObjectName(QStringLiteral("Command4"));
    m_source = new QPlainTextEdit(this);
    m_source->setObjectName(QStringLiteral("Text2"));
    auto *hint = new QLabel(QStringLiteral("ソースの編集メニューはマウスの右クリックです。"), this);
    hint->setObjectName(QStringLiteral("Label2"));
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Command2"));
    m_ok->setEnabled(false);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command3"));
    grid->addWidget(new QLabel(QStringLiteral("項目名"), this), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(m_add, 0, 2);
    grid->addWidget(m_list, 1, 0, 1, 2);
    grid->addWidget(clear, 1, 2, Qt::AlignTop);
    grid->addWidget(m_source, 2, 0, 1, 3);
    grid->addWidget(hint, 3, 0, 1, 3);
    grid->addWidget(m_ok, 4, 1, Qt::AlignRight);
    grid->addWidget(cancel, 4, 2);
    resize(318, 343);

    connect(m_name, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_add->setEnabled(!text.isEmpty()); });
    connect(m_add, &QPushButton::clicked, this, &SelectItemsDialog::addItem);
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            removeChosenItem();
    });
    connect(clear, &QPushButton::clicked, this, &SelectItemsDialog::removeAll);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_built =
            selectMarkup(m_source->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n")));
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void SelectItemsDialog::addItem()
{
    if (m_name->text().isEmpty()) {
        m_add->setEnabled(false);
        m_name->setFocus();
        return;
    }
    m_list->addItem(m_name->text());
    m_add->setEnabled(false);
    m_source->setFocus();
    m_source->moveCursor(QTextCursor::End);
    // The text box keeps line ends as LF; CR LF is restored when the fragment is built.
    m_source->insertPlainText(optionLine(m_list->item(m_itemCount)->text())
                                  .replace(QLatin1String("\r\n"), QLatin1String("\n")));
    ++m_itemCount;
    m_name->clear();
    m_name->setFocus();
    m_ok->setEnabled(true);
}

void SelectItemsDialog::removeChosenItem()
{
    QListWidgetItem *item = m_list->currentItem();
    if (!item)
        return;
    if (messages::ask(this, QStringLiteral("確認"),
                      item->text() + QStringLiteral("を削除しますか？"),
                      QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    const QSignalBlocker blocker(m_list);
    delete m_list->takeItem(m_list->row(item));
    m_list->setCurrentRow(-1);
    messages::inform(this, QStringLiteral("ソースの削除も行ってください。"));
    m_source->setFocus();
    --m_itemCount;
}

void SelectItemsDialog::removeAll()
{
    m_list->clear();
    m_source->clear();
    m_itemCount = 0;
    m_ok->setEnabled(false);
}

} // namespace lumipage
