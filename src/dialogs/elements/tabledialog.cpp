#include "dialogs/elements/tabledialog.h"

#include "platform/desktop/dialogform.h"
#include "platform/desktop/messages.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

TableDialog::TableDialog(Insert insert, QWidget *parent)
    : QDialog(parent), m_insert(std::move(insert))
{
    DialogForm form(this, QStringLiteral("Form2"), QStringLiteral("表の作成"));
    m_rows = form.row(QStringLiteral("行数"), form.lineEdit(QStringLiteral("Text1")));
    m_cols = form.row(QStringLiteral("列数"), form.lineEdit(QStringLiteral("Text2")));
    m_tableAttrs = form.row(QStringLiteral("表の属性"), form.lineEdit(QStringLiteral("Text3")));
    m_cellAttrs = form.row(QStringLiteral("ｾﾙの属性"), form.lineEdit(QStringLiteral("Text4")));
    m_caption = form.row(QStringLiteral("表題"), form.lineEdit(QStringLiteral("Text5")));
    m_tableAttrs->installEventFilter(this);
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"));
    resize(384, 164);
    connect(ok, &QPushButton::clicked, this, &TableDialog::insert);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TableDialog::prefill(const QString &tableAttrs, const QString &cellAttrs)
{
    m_cellAttrs->setText(cellAttrs);
    m_tableAttrs->setText(tableAttrs);
}

void TableDialog::insert()
{
    const InsertTableParam param{m_rows->text(), m_cols->text(), m_tableAttrs->text(),
                                 m_cellAttrs->text(), m_caption->text()};
    if (const std::optional<QString> refused = m_insert(param)) {
        messages::inform(this, *refused);
        return; // stays open, fields as typed
    }
    accept();
}

bool TableDialog::eventFilter(QObject *watched, QEvent *event)
{
    // A long attribute list can be read whole under the mouse.
    if (watched == m_tableAttrs &&
        (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove))
        m_tableAttrs->setToolTip(m_tableAttrs->text());
    return QDialog::eventFilter(watched, event);
}

} // namespace lumipage
