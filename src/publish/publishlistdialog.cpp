#include "publish/publishlistdialog.h"

#include "publish/publishlisttext.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lumipage
{

PublishListDialog::PublishListDialog(const QList<publishplan::Item> &items,
                                     const QStringList &warnings, bool linkedPages, QWidget *parent)
    : QDialog(parent), m_items(items)
{
    setObjectName(QStringLiteral("publishListDialog"));
    setWindowTitle(QStringLiteral("サイトへ公開"));
    resize(640, 480);
    auto *layout = new QVBoxLayout(this);
    if (!warnings.isEmpty()) {
        auto *warningText = new QPlainTextEdit(warnings.join(u'\n'), this);
        warningText->setObjectName(QStringLiteral("publishWarnings"));
        warningText->setReadOnly(true);
        warningText->setMaximumHeight(90);
        layout->addWidget(
            new QLabel(QStringLiteral("サーバーで問題になるかもしれない名前:"), this));
        layout->addWidget(warningText);
    }
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("publishList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels(
        {QStringLiteral("ファイル"), QStringLiteral("動作"), QStringLiteral("サイズ")});
    for (const publishlisttext::Row &row : publishlisttext::rows(items)) {
        auto *item = new QTreeWidgetItem(m_list, {row.path, row.action, row.size});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        if (row.checkable)
            item->setCheckState(0, row.checked ? Qt::Checked : Qt::Unchecked);
    }
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    layout->addWidget(m_list);
    m_total = new QLabel(publishlisttext::totalText(items), this);
    m_total->setObjectName(QStringLiteral("publishTotal"));
    layout->addWidget(m_total);
    auto *linked = new QCheckBox(QStringLiteral("リンク先のページも公開する"), this);
    linked->setObjectName(QStringLiteral("publishLinkedPages"));
    linked->setChecked(linkedPages);
    layout->addWidget(linked);
    connect(linked, &QCheckBox::toggled, this, [this] { done(kLinkedPagesSwitched); });
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *send = buttons->addButton(QStringLiteral("公開"), QDialogButtonBox::AcceptRole);
    send->setObjectName(QStringLiteral("publishSend"));
    send->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemChanged, this, &PublishListDialog::ticked);
}

void PublishListDialog::ticked()
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = m_list->topLevelItem(i);
        if (row->data(0, Qt::CheckStateRole).isValid())
            m_items[i].ticked = row->checkState(0) == Qt::Checked;
    }
    m_total->setText(publishlisttext::totalText(m_items));
}

} // namespace lumipage
