#pragma once

namespace lumipage
{

class CommandActions;
class EditingComponent;

// The surface's right-click menu: built from the context-menu table on every click,
// greyed by the statuses and the mode, and carried out by position through the same
// commands as the menu bar and the toolbar.
class ContextMenuController
{
public:
    ContextMenuController(EditingComponent &editor, CommandActions &actions);

    void buildMenu();
    void runEntry(int position);

private:
    EditingComponent &m_editor;
    CommandActions &m_actions;
};

} // namespace lumipage
