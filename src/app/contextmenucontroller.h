#pragma once

#include <memory>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace lumipage
{

class CommandActions;
class EditingComponent;

// The surface's right-click menu: built from the context-menu table on every click, its
// entries greyed by the component's status snapshot and the mode, each running the same
// command as the menu bar and the toolbar. Over a misspelt word, the spell checker's
// suggestions come first.
class ContextMenuController
{
public:
    ContextMenuController(EditingComponent &editor, CommandActions &actions);

    // The menu for the surface as it stands now (objectName `DHTMLEditContextMenu`); its
    // entries belong to it.
    std::unique_ptr<QMenu> buildMenu(QWidget *parent) const;
    // Shows the menu at `globalPos` and runs the entry chosen.
    void showMenu(const QPoint &globalPos);
    // Runs what an entry of the menu stands for: its command (the entry's data), or a
    // suggestion put in place of the misspelt word.
    void runEntry(const QAction &entry);

private:
    EditingComponent &m_editor;
    CommandActions &m_actions;
};

} // namespace lumipage
