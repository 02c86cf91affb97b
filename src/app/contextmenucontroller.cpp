#include "app/contextmenucontroller.h"

#include "app/commandactions.h"
#include "app/commandtables.h"
#include "platform/editing/editingcomponent.h"

namespace lumipage
{

ContextMenuController::ContextMenuController(EditingComponent &editor, CommandActions &actions)
    : m_editor(editor), m_actions(actions)
{
    QObject::connect(&editor, &EditingComponent::ShowContextMenu, &actions,
                     [this](int, int) { buildMenu(); });
    QObject::connect(&editor, &EditingComponent::ContextMenuAction, &actions,
                     [this](int position) { runEntry(position); });
}

void ContextMenuController::buildMenu()
{
    QStringList texts;
    QList<int> states;
    for (const ContextRow &row : kContextMenu) {
        texts << QString::fromUtf8(row.text);
        states << (row.statusCommand && m_editor.QueryStatus(row.statusCommand) != StatusEnabled
                       ? 2
                       : 0);
    }
    const bool browsing = m_editor.BrowseMode();
    states[4] = browsing ? 2 : 0; // "ブラウズ"
    states[5] = browsing ? 0 : 2; // "編集"
    m_editor.SetContextMenu(texts, states);
}

void ContextMenuController::runEntry(int position)
{
    if (position < 0 || position >= int(kContextMenu.size()))
        return;
    const ContextRow &row = kContextMenu[position];
    if (row.command)
        m_actions.run(*row.command);
    else if (row.option >= 0)
        m_editor.ExecCommand(row.statusCommand, row.option);
}

} // namespace lumipage
