#include "insert/pagepicturesdialog.h"

#include "insert/webimageinsertion.h"
#include "pictures/webcopyjob.h"
#include "fragments/imagemarkup.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace lumipage
{

using namespace pictures;

namespace
{

enum Column { NameColumn, SizeColumn, ShownColumn, CopyColumn, SavingColumn };

QString kilobytes(qint64 bytes)
{
    return QStringLiteral("%1 KB").arg(QLocale(QLocale::Japanese).toString((bytes + 1023) / 1024));
}

} // namespace

PagePicturesDialog::PagePicturesDialog(const QList<PagePicture> &pictures,
                                       const QString &pageFolder, QWidget *parent)
    : QDialog(parent), m_pictures(pictures), m_pageFolder(pageFolder), m_copies(pictures.size())
{
    setObjectName(QStringLiteral("pagePicturesDialog"));
    setWindowTitle(QStringLiteral("ページの画像を最適化"));
    auto *layout = new QVBoxLayout(this);
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("pagePicturesList"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QStringLiteral("画像"), QStringLiteral("大きさ"),
                             QStringLiteral("表示の幅"), QStringLiteral("Web用"),
                             QStringLiteral("減る量")});
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QList<WebCopyRequest> requests;
    for (const PagePicture &p : pictures) {
        auto *row = new QTreeWidgetItem(
            m_list, {p.source, sizeText(p.info),
                     p.shownWidth > 0 ? QString::number(p.shownWidth) : QStringLiteral("—"),
                     QStringLiteral("…"), QString()});
        row->setCheckState(NameColumn, Qt::Unchecked);
        row->setFlags(row->flags() & ~Qt::ItemIsUserCheckable); // until its copy is made
        requests << WebCopyRequest{p.info.path,          webCopyFolder(p.info.path, pageFolder),
                                   p.suggestion.width,   p.suggestion.format,
                                   p.suggestion.quality, true};
    }
    layout->addWidget(m_list);
    m_status = new QLabel(QStringLiteral("Web用の画像を作っています…"), this);
    m_status->setObjectName(QStringLiteral("pagePicturesStatus"));
    layout->addWidget(m_status);
    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("pagePicturesOk"));
    m_ok->setEnabled(false);
    QPushButton *cancel =
        buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("pagePicturesCancel"));
    layout->addWidget(buttons);
    resize(720, 360);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PagePicturesDialog::reject);
    connect(&m_watcher, &QFutureWatcher<WebCopyResult>::resultReadyAt, this,
            &PagePicturesDialog::copyMade);
    connect(&m_watcher, &QFutureWatcher<WebCopyResult>::finished, this, [this] {
        m_status->setText(QStringLiteral(
            "チェックした画像をWeb用の画像に置き換えます(元のファイルは残ります)。"));
        m_ok->setEnabled(true);
    });
    m_watcher.setFuture(makeWebCopies(requests));
}

PagePicturesDialog::~PagePicturesDialog()
{
    m_watcher.cancel();
    m_watcher.waitForFinished();
}

void PagePicturesDialog::copyMade(int index)
{
    const WebCopyResult copy = m_watcher.resultAt(index);
    m_copies[index] = copy;
    QTreeWidgetItem *row = m_list->topLevelItem(index);
    if (!copy.problem.isEmpty()) {
        row->setText(CopyColumn, copy.problem);
        return;
    }
    const qint64 before = m_pictures.at(index).info.bytes;
    row->setText(
        CopyColumn,
        QStringLiteral("%1×%2、%3").arg(copy.width).arg(copy.height).arg(kilobytes(copy.bytes)));
    row->setText(SavingColumn, copy.bytes < before ? QStringLiteral("%1(%2%)")
                                                         .arg(kilobytes(before - copy.bytes))
                                                         .arg((before - copy.bytes) * 100 /
                                                              std::max<qint64>(before, 1))
                                                   : QStringLiteral("減りません"));
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(NameColumn, m_pictures.at(index).suggestion.offer && copy.bytes < before
                                       ? Qt::Checked
                                       : Qt::Unchecked);
}

QHash<QString, QString> PagePicturesDialog::keepTicked()
{
    QHash<QString, QString> renamed;
    for (int i = 0; i < m_copies.size(); ++i)
        if (!m_copies.at(i).path.isEmpty() &&
            m_list->topLevelItem(i)->checkState(NameColumn) == Qt::Checked)
            renamed.insert(m_pictures.at(i).source,
                           imageSourceFor(m_copies.at(i).path, m_pageFolder));
    removeCopies(true);
    return renamed;
}

void PagePicturesDialog::reject()
{
    m_watcher.cancel();
    m_watcher.waitForFinished();
    for (int i = 0; i < m_watcher.future().resultCount(); ++i)
        m_copies[i] = m_watcher.future().resultAt(i);
    removeCopies(false);
    QDialog::reject();
}

void PagePicturesDialog::removeCopies(bool keepTicked)
{
    for (int i = 0; i < m_copies.size(); ++i) {
        const bool ticked = m_list->topLevelItem(i)->checkState(NameColumn) == Qt::Checked;
        if (!m_copies.at(i).path.isEmpty() && !(keepTicked && ticked))
            QFile::remove(m_copies.at(i).path);
    }
}

} // namespace lumipage
