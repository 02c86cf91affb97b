#pragma once

#include <QObject>

#include <functional>

class QMenu;

namespace lumipage
{

class RecentFiles;

// The submenu of recent pages: filled afresh each time it opens (files gone since are
// dropped from the list), entries named by file name with the full path as tool tip,
// and 「一覧を消去」 at the end. Choosing an entry hands its path to `open`.
class RecentFilesMenu : public QObject
{
    Q_OBJECT
public:
    RecentFilesMenu(QMenu *menu, RecentFiles &files, std::function<void(const QString &)> open);

    // Rebuilds the entries from the list now (also done whenever the menu opens).
    void fill();

private:
    QMenu *m_menu;
    RecentFiles &m_files;
    std::function<void(const QString &)> m_open;
};

} // namespace lumipage
