#include "check/pagecheckpanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lumipage
{

namespace
{
enum Column { KindColumn, MessageColumn, LineColumn, ElementColumn };
} // namespace

PageCheckPanel::PageCheckPanel(QWidget *parent)
    : QDockWidget(QStringLiteral("ページの点検"), parent)
{
    setObjectName(QStringLiteral("pageCheckPanel"));
    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *bar = new QHBoxLayout;
    m_status = new QLabel(body);
    m_status->setObjectName(QStringLiteral("pageCheckStatus"));
    m_again = new QPushButton(QStringLiteral("再点検"), body);
    m_again->setObjectName(QStringLiteral("pageCheckAgain"));
    bar->addWidget(m_status, 1);
    bar->addWidget(m_again);
    layout->addLayout(bar);

    m_list = new QTreeWidget(body);
    m_list->setObjectName(QStringLiteral("pageCheckList"));
    m_list->setHeaderLabels({QStringLiteral("種類"), QStringLiteral("内容"), QStringLiteral("行"),
                             QStringLiteral("要素")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(MessageColumn, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(KindColumn, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(LineColumn, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(ElementColumn, QHeaderView::ResizeToContents);
    layout->addWidget(m_list);
    setWidget(body);

    connect(m_again, &QPushButton::clicked, this, &PageCheckPanel::recheckRequested);
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        const int index = m_list->indexOfTopLevelItem(item);
        if (index >= 0 && index < m_findings.size())
            emit findingActivated(m_findings.at(index));
    });
}

void PageCheckPanel::showChecking()
{
    m_status->setText(QStringLiteral("点検しています…"));
}

void PageCheckPanel::showFindings(const QList<check::PageFinding> &findings)
{
    m_findings = findings;
    m_list->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(findings.size());
    for (const check::PageFinding &f : findings) {
        auto *item =
            new QTreeWidgetItem({check::kindName(f.kind), f.message,
                                 f.line > 0 ? QString::number(f.line) : QString(), f.element});
        item->setTextAlignment(LineColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(MessageColumn, f.message);
        items << item;
    }
    m_list->addTopLevelItems(items);
    m_status->setText(findings.isEmpty()
                          ? QStringLiteral("問題は見つかりませんでした")
                          : QStringLiteral("%1 件の問題が見つかりました").arg(findings.size()));
}

void PageCheckPanel::showFailure(const QString &why)
{
    m_status->setText(QStringLiteral("ページを点検できませんでした。%1").arg(why));
}

} // namespace lumipage
