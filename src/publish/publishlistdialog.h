#pragma once

#include "transfer/manifest.h"

#include <QDialog>

class QLabel;
class QTreeWidget;

namespace lumipage
{

// The list before sending: every file of the site with its action and size, ticks on
// the files the author may send or keep, the name warnings, and 「公開」. It only wires
// the list; publishlisttext gives what it shows.
class PublishListDialog : public QDialog
{
    Q_OBJECT
public:
    // The result when the author switches the linked pages on or off: the list is made
    // again with them or without.
    static constexpr int kLinkedPagesSwitched = 2;

    PublishListDialog(const QList<publishplan::Item> &items, const QStringList &warnings,
                      bool linkedPages, QWidget *parent);
    // The items with the author's ticks.
    QList<publishplan::Item> items() const { return m_items; }

private:
    void ticked();

    QList<publishplan::Item> m_items;
    QTreeWidget *m_list;
    QLabel *m_total;
};

} // namespace lumipage
