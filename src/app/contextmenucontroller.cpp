#include "app/contextmenucontroller.h"

#include "commands/commandactions.h"
#include "app/commandtables.h"
#include "platform/editing/editingcomponent.h"

#include <QMenu>

namespace lumipage
{

namespace
{
// The property of a suggestion's entry that holds the word it puts in.
constexpr char kReplacement[] = "replacement";
} // namespace

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
    // Over a misspelt word, the checker's suggestions come first; each replaces the word.
    const QStringList suggestions = m_editor.misspellingAtContextMenu().suggestions;
    for (const QString &suggestion : suggestions)
        menu->addAction(suggestion)->setProperty(kReplacement, suggestion);
    if (!suggestions.isEmpty())
        menu->addSeparator();
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
        runEntry(*chosen);
}

void ContextMenuController::runEntry(const QAction &entry)
{
    const QVariant replacement = entry.property(kReplacement);
    if (replacement.isValid())
        m_editor.replaceMisspelling(replacement.toString());
    else
        m_actions.run(CommandId(entry.data().toInt()));
}

} // namespace lumipage
