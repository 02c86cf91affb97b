#include "dialogs/elements/tabledialog.h"

#include "app/mainwindow.h"
#include "platform/messages.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

TableDialog::TableDialog(MainWindow &window) : QDialog(&window), m_window(window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("表の作成"));
    auto *grid = new QGridLayout(this);
    const auto addBox = [&](const char *name, const char *label, int row) {
        auto *box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        auto *text = new QLabel(QString::fromUtf8(label), this);
        text->setObjectName(QStringLiteral("Label1_%1").arg(row));
        grid->addWidget(text, row, 0);
        grid->addWidget(box, row, 1, 1, 3);
        return box;
    };
    m_rows = addBox("Text1", "行数", 0);
    m_cols = addBox("Text2", "列数", 1);
    m_tableAttrs = addBox("Text3", "表の属性", 2);
    m_cellAttrs = addBox("Text4", "ｾﾙの属性", 3);
    m_caption = addBox("Text5", "表題", 4);
    m_tableAttrs->installEventFilter(this);
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    grid->addWidget(ok, 5, 2);
    grid->addWidget(cancel, 5, 3);
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
