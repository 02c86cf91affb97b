#pragma once

#include <array>
#include <vector>

namespace lumipage
{

// One toolbar button: its key (the action's objectName), tool tip, the glyph drawn on
// its icon and the procedure it runs. The position in the table is the button's index.
struct ToolbarRow {
    const char *key;
    const char *toolTip;
    const char *glyph;
    const char *procedure;
};
extern const std::array<ToolbarRow, 43> kToolbar;

// One menu entry: its parent's control name ("" for the menu bar), its own control
// name, caption ("-" for a separator) and the procedure it runs ("" for a submenu).
struct MenuRow {
    const char *parent;
    const char *name;
    const char *caption;
    const char *procedure;
};
extern const std::vector<MenuRow> kMenu;

// A command procedure that is one ExecCommand call.
enum class CommandValue { None, One, Colour };
struct CommandRow {
    const char *procedure;
    int command;
    int option;
    CommandValue value;
};
extern const std::vector<CommandRow> kCommands;

// One row of the state refresh: the command asked, and the controls that follow it.
struct RefreshRow {
    int command;
    const char *toolbarButton; // the button's key, "" for none
    const char *menuItem;
    int objectButton; // Command6 index, -1 for none
    bool setsLists;   // Combo1 and Combo2 the other way
};
extern const std::vector<RefreshRow> kRefresh;

// One context-menu entry: text ("" separator), the command whose status greys it
// (0: not greyed by a status), the procedure it runs, or with no procedure the
// ExecCommand of its status command with `option` (-1: nothing to run).
struct ContextRow {
    const char *text;
    int statusCommand;
    const char *procedure;
    int option;
};
extern const std::array<ContextRow, 26> kContextMenu;

} // namespace lumipage
