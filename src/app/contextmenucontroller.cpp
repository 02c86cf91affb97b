#include "app/contextmenucontroller.h"

#include "app/commandactions.h"
#include "app/commandtables.h"
#include "platform/editing/editingcomponent.h"

#include <QMenu>

namespace lumipage
{

ContextMenuController::ContextMenuController(EditingComponent &editor, CommandActions &actions)
    : m_editor(editor), m_actions(actions)
{
    QObject::connect(&editor, &EditingComponent::contextMenuRequested, &actions,
                     [this](const QPoint &globalPos) { showMenu(globalPos); });
}

std::unique_ptr<QMenu> ContextMenuController::buildMenu(QWidget *parent) const
{
    const QHash<int, CommandStatus> statuses = m_editor.statuses();
    const bool browsing = m_editor.BrowseMode();
    auto menu = std::make_unique<QMenu>(parent);
    menu->setObjectName(QStringLiteral("DHTMLEditContextMenu"));
    for (const ContextRow &row : kContextMenu) {
        if (!row.command) {
            menu->addSeparator();
            continue;
        }
        // The entry reads as the context menu names it and stands for the shared command.
        QAction *entry = menu->addAction(QString::fromUtf8(row.text));
        const CommandId id = *row.command;
        entry->setData(int(id));
        if (id == CommandId::Browse)
            entry->setEnabled(!browsing);
        else if (id == CommandId::Edit)
            entry->setEnabled(browsing);
        else if (row.statusCommand)
            entry->setEnabled(statuses.value(row.statusCommand) == CommandStatus::Enabled);
    }
    return menu;
}

void ContextMenuController::showMenu(const QPoint &globalPos)
{
    const std::unique_ptr<QMenu> menu = buildMenu(m_editor.window());
    // The command runs once the menu is gone, outside its event loop.
    if (const QAction *chosen = menu->exec(globalPos))
        m_actions.run(CommandId(chosen->data().toInt()));
}

} // namespace lumipage
