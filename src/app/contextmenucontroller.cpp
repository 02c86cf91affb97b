#include "app/contextmenucontroller.h"

#include "app/commandtables.h"
#include "app/mainwindow.h"
#include "platform/editing/editingcomponent.h"

namespace lumipage
{

ContextMenuController::ContextMenuController(MainWindow &window) : m_window(window)
{
    EditingComponent *editor = window.editor();
    QObject::connect(editor, &EditingComponent::ShowContextMenu, &window,
                     [this](int, int) { buildMenu(); });
    QObject::connect(editor, &EditingComponent::ContextMenuAction, &window,
                     [this](int position) { runEntry(position); });
}

void ContextMenuController::buildMenu()
{
    EditingComponent &editor = *m_window.editor();
    QStringList texts;
    QList<int> states;
    for (const ContextRow &row : kContextMenu) {
        texts << QString::fromUtf8(row.text);
        states << (row.statusCommand && editor.QueryStatus(row.statusCommand) != StatusEnabled ? 2
                                                                                               : 0);
    }
    const bool browsing = editor.BrowseMode();
    states[4] = browsing ? 2 : 0; // "ブラウズ"
    states[5] = browsing ? 0 : 2; // "編集"
    editor.SetContextMenu(texts, states);
}

void ContextMenuController::runEntry(int position)
{
    if (position < 0 || position >= int(kContextMenu.size()))
        return;
    const ContextRow &row = kContextMenu[position];
    if (*row.procedure)
        m_window.run(QString::fromLatin1(row.procedure));
    else if (row.option >= 0)
        m_window.editor()->ExecCommand(row.statusCommand, row.option);
}

} // namespace lumipage
