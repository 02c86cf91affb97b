#pragma once

#include "commands/commandid.h"
#include "platform/editing/editingcommands.h"

#include <array>
#include <optional>
#include <vector>

namespace lumipage
{

// One toolbar button: its key (the button's objectName), tool tip, the glyph drawn on
// its icon and the command it runs. The position in the table is the button's index.
struct ToolbarRow {
    const char *key;
    const char *toolTip;
    const char *glyph;
    CommandId command;
};
extern const std::array<ToolbarRow, 43> kToolbar;

// One menu entry: its parent's control name ("" for the menu bar), its own control
// name, caption ("-" for a separator) and the command it runs (none for a submenu or a
// separator). A command in both the menu and the toolbar is one action in both.
struct MenuRow {
    const char *parent;
    const char *name;
    const char *caption;
    std::optional<CommandId> command;
};
extern const std::vector<MenuRow> kMenu;
// The two mode commands have menu items of their own: chosen from the menu, an item
// greys itself and enables its partner; the toolbar and the context menu switch modes
// without touching them, so they show what the last switch from the menu left.
inline constexpr CommandId kMenuOwnItems[] = {CommandId::Browse, CommandId::Edit};

// A command that is one ExecCommand call on the surface.
enum class CommandValue { None, One, Colour };
struct CommandRow {
    CommandId id;
    int command;
    CommandOption option;
    CommandValue value;
};
extern const std::vector<CommandRow> kCommands;

// One row of the state refresh: the surface command asked, the action that follows its
// status, the object button (Command6 index, -1 for none) that follows it too, and
// whether the two lists follow it the other way.
struct RefreshRow {
    int command;
    CommandId action;
    int objectButton;
    bool setsLists;
};
extern const std::vector<RefreshRow> kRefresh;

// A command shown pressed while its surface command is latched (bold text, say).
struct LatchRow {
    int command;
    CommandId action;
};
extern const std::vector<LatchRow> kLatched;

// One context-menu entry: text ("" separator), the surface command whose status greys
// it (0: not greyed by a status; ブラウズ and 編集 follow the mode), and the command it
// runs (none for a separator).
struct ContextRow {
    const char *text;
    int statusCommand;
    std::optional<CommandId> command;
};
extern const std::array<ContextRow, 26> kContextMenu;

} // namespace lumipage
