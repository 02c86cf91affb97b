#pragma once

#include "commands/commandid.h"

#include <QObject>

#include <array>
#include <functional>

class QAction;

namespace lumipage
{

// One QAction per command, made once and shared by the menu bar, the toolbar, the object
// buttons and the context menu, so that a command's enabled state is set in one place
// and shows the same wherever the command appears. The actions are children of this
// object.
class CommandActions : public QObject
{
    Q_OBJECT
public:
    explicit CommandActions(QObject *parent = nullptr);

    QAction *action(CommandId id) const { return m_actions[std::size_t(id)]; }
    // What the command does; the action's trigger and run() call it.
    void setHandler(CommandId id, std::function<void()> handler);
    // Runs the command whatever its action's state (the context menu greys its own
    // entries, and the program runs some commands on the user's behalf).
    void run(CommandId id) const;
    void setEnabled(CommandId id, bool enabled);
    // Runs before every command (what was typed in the source pane goes to the page first).
    void setBeforeEachCommand(std::function<void()> before) { m_before = std::move(before); }

private:
    std::array<QAction *, kCommandCount> m_actions{};
    std::array<std::function<void()>, kCommandCount> m_handlers;
    std::function<void()> m_before;
};

} // namespace lumipage
