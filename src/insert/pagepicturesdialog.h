#pragma once

#include "insert/pagepictures.h"
#include "pictures/webcopy.h"

#include <QDialog>
#include <QFutureWatcher>
#include <QHash>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace lumipage
{

// ページの画像を最適化…: the page's pictures with their size, the width shown and what
// their web copy weighs. The copies are made on a worker as soon as it opens (the list
// fills as they come; 「キャンセル」 stops it, and the dialog stays usable meanwhile), beside
// the pictures as the insertion names them; the ticked ones (those worth it, at first)
// replace their originals on OK, the others are removed, and a cancel removes them all.
class PagePicturesDialog : public QDialog
{
    Q_OBJECT
public:
    PagePicturesDialog(const QList<PagePicture> &pictures, const QString &pageFolder,
                       QWidget *parent = nullptr);
    ~PagePicturesDialog() override;

    // After OK: the src of each ticked picture → its copy's name relative to the page; the
    // copies of the others removed.
    QHash<QString, QString> keepTicked();

    void reject() override;

private:
    void copyMade(int index);
    void removeCopies(bool keepTicked);

    QList<PagePicture> m_pictures;
    QString m_pageFolder;
    QList<pictures::WebCopyResult> m_copies; // by picture; an empty path until made
    QFutureWatcher<pictures::WebCopyResult> m_watcher;
    QTreeWidget *m_list;
    QLabel *m_status;
    QPushButton *m_ok;
};

} // namespace lumipage
