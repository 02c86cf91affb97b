#include "app/recentfilesmenu.h"

#include "app/recentfiles.h"

#include <QFileInfo>
#include <QMenu>

namespace lumipage
{

RecentFilesMenu::RecentFilesMenu(QMenu *menu, RecentFiles &files,
                                 std::function<void(const QString &)> open)
    : QObject(menu), m_menu(menu), m_files(files), m_open(std::move(open))
{
    menu->setToolTipsVisible(true);
    connect(menu, &QMenu::aboutToShow, this, &RecentFilesMenu::fill);
    fill();
}

void RecentFilesMenu::fill()
{
    m_menu->clear();
    const QStringList paths = m_files.dropMissing();
    for (const QString &path : paths) {
        // "&" in a file name would otherwise become a shortcut mark.
        QAction *entry =
            m_menu->addAction(QFileInfo(path).fileName().replace(u'&', QLatin1String("&&")));
        entry->setToolTip(path);
        entry->setData(path);
        // Queued: the page opens after the menu has closed, not inside its loop.
        connect(
            entry, &QAction::triggered, this, [this, path] { m_open(path); }, Qt::QueuedConnection);
    }
    if (!paths.isEmpty())
        m_menu->addSeparator();
    QAction *clear = m_menu->addAction(tr("一覧を消去"));
    clear->setObjectName(QStringLiteral("recent_clear"));
    clear->setEnabled(!paths.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        m_files.clear();
        fill();
    });
}

} // namespace lumipage
