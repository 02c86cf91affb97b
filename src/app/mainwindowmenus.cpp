// The main window's toolbar and menus, built from the command tables.
#include "app/commandtables.h"
#include "app/mainwindow.h"
#include "commands/commandactions.h"
#include "widgets/icons.h"

#include <QAction>
#include <QMenuBar>
#include <QToolBar>

#include <algorithm>

namespace lumipage
{

namespace
{
// The toolbar's design size: 13650 by 450 twips, 15 twips a pixel.
constexpr int kToolbarWidth = 13650 / 15;
constexpr int kToolbarHeight = 450 / 15;
} // namespace

void MainWindow::buildToolbar()
{
    m_toolbar = new QToolBar(m_client);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setIconSize(QSize(15, 15));
    m_toolbar->setStyleSheet(QStringLiteral("QToolButton { padding: 0px; margin: 0px; }"));
    for (const ToolbarRow &row : kToolbar) {
        QAction *action = m_actions->action(row.command);
        action->setIcon(Icons::forKey(QString::fromLatin1(row.key)));
        action->setText(QString::fromUtf8(row.toolTip)); // the menu's caption replaces it
        action->setToolTip(QString::fromUtf8(row.toolTip));
        action->setObjectName(QString::fromLatin1(row.key));
        m_toolbar->addAction(action);
        m_toolbar->widgetForAction(action)->setObjectName(QString::fromLatin1(row.key));
    }
    m_toolbar->setGeometry(0, 0, kToolbarWidth, kToolbarHeight);

    // サイトへ公開… stands apart, right above the toolbar's right end: the fixed set of
    // buttons fills the toolbar's row at the window's narrowest, and the menu bar's
    // right end stays free at every width.
    auto *publishBar = new QToolBar(menuBar());
    publishBar->setObjectName(QStringLiteral("publishToolBar"));
    publishBar->setIconSize(QSize(15, 15));
    publishBar->setMovable(false);
    publishBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    publishBar->setStyleSheet(m_toolbar->styleSheet());
    QAction *publish = m_actions->action(CommandId::PublishSite);
    publish->setIcon(Icons::forKey(QStringLiteral("publish_site")));
    publishBar->addAction(publish);
    publishBar->widgetForAction(publish)->setObjectName(QStringLiteral("publish_site"));
    menuBar()->setCornerWidget(publishBar, Qt::TopRightCorner);
}

void MainWindow::buildMenus()
{
    QHash<QString, QMenu *> menus;
    for (const MenuRow &row : kMenu) {
        const QString parent = QString::fromLatin1(row.parent);
        const QString name = QString::fromLatin1(row.name);
        const QString caption = QString::fromUtf8(row.caption);
        QAction *action = nullptr;
        if (caption == QLatin1String("-")) {
            action = menus.value(parent)->addSeparator();
        } else if (!row.command) {
            QMenu *menu = parent.isEmpty() ? menuBar()->addMenu(caption)
                                           : menus.value(parent)->addMenu(caption);
            menu->setObjectName(name);
            menus.insert(name, menu);
            action = menu->menuAction();
        } else {
            // The toolbar's button keeps its tool tip; the action reads as the menu names it.
            QAction *command = m_actions->action(*row.command);
            command->setText(caption);
            if (!parent.isEmpty() && std::ranges::count(kMenuOwnItems, *row.command)) {
                // The toolbar button follows the mode; the menu item is an item of its own
                // that runs the command, then greys itself and enables its partner.
                action = menus.value(parent)->addAction(caption);
                connect(action, &QAction::triggered, this,
                        [this, id = *row.command] { switchModeFromMenu(id); });
            } else if (!parent.isEmpty()) {
                menus.value(parent)->addAction(command);
                action = command;
            } else if (command->icon().isNull()) {
                menuBar()->addAction(command);
                action = command;
            } else {
                // A menu bar draws an action's picture instead of its caption, so a command
                // with a toolbar picture stands there as a caption that follows its action.
                action = menuBar()->addAction(caption);
                action->setEnabled(command->isEnabled());
                connect(action, &QAction::triggered, command, &QAction::trigger);
                connect(command, &QAction::enabledChanged, action, &QAction::setEnabled);
            }
        }
        action->setObjectName(name);
        m_menuItems.insert(name, action);
    }
    // The desktop's usual keys for the page as a file.
    m_actions->action(CommandId::NewDocument)->setShortcut(QKeySequence::New);
    m_actions->action(CommandId::OpenFile)->setShortcut(QKeySequence::Open);
    m_actions->action(CommandId::SaveFile)->setShortcut(QKeySequence::Save);
}

void MainWindow::switchModeFromMenu(CommandId id)
{
    const bool browse = id == CommandId::Browse;
    run(id);
    m_menuItems.value(QStringLiteral("go_browse"))->setEnabled(!browse);
    m_menuItems.value(QStringLiteral("go_hennsyuu"))->setEnabled(browse);
}

} // namespace lumipage
