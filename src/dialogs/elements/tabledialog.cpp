#include "dialogs/elements/tabledialog.h"

#include "app/mainwindow.h"
#include "dialogs/elements/dialogform.h"
#include "platform/messages.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

TableDialog::TableDialog(MainWindow &window) : QDialog(&window), m_window(window)
{
    DialogForm form(this, QStringLiteral("Form2"), QStringLiteral("表の作成"));
    m_rows = form.line(QStringLiteral("Text1"), QStringLiteral("行数"), QString());
    m_cols = form.line(QStringLiteral("Text2"), QStringLiteral("列数"), QString());
    m_tableAttrs = form.line(QStringLiteral("Text3"), QStringLiteral("表の属性"), QString());
    m_cellAttrs = form.line(QStringLiteral("Text4"), QStringLiteral("ｾﾙの属性"), QString());
    m_caption = form.line(QStringLiteral("Text5"), QStringLiteral("表題"), QString());
    m_tableAttrs->installEventFilter(this);
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"));
    resize(384, 164);
    connect(ok, &QPushButton::clicked, this, &TableDialog::Command1_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TableDialog::prefill(const QString &tableAttrs, const QString &cellAttrs)
{
    m_cellAttrs->setText(cellAttrs);
    m_tableAttrs->setText(tableAttrs);
}

void TableDialog::Command1_Click()
{
    SharedValues &shared = m_window.shared();
    shared.table_rows = m_rows->text();
    shared.table_cols = m_cols->text();
    shared.table_attrs = m_tableAttrs->text();
    shared.cell_attrs = m_cellAttrs->text();
    shared.table_caption = m_caption->text();
    QString reason;
    if (!m_window.creat_hyou(&reason)) {
        messages::inform(this, reason);
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
