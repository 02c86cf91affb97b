#include "commands/commandactions.h"

#include <QAction>

namespace lumipage
{

CommandActions::CommandActions(QObject *parent) : QObject(parent)
{
    for (int i = 0; i < kCommandCount; ++i) {
        auto *action = new QAction(this);
        connect(action, &QAction::triggered, this, [this, i] { run(CommandId(i)); });
        m_actions[std::size_t(i)] = action;
    }
}

void CommandActions::setHandler(CommandId id, std::function<void()> handler)
{
    m_handlers[std::size_t(id)] = std::move(handler);
}

void CommandActions::run(CommandId id) const
{
    const auto &handler = m_handlers[std::size_t(id)];
    if (!handler)
        return;
    if (m_before)
        m_before();
    handler();
}

void CommandActions::setEnabled(CommandId id, bool enabled)
{
    action(id)->setEnabled(enabled);
}

} // namespace lumipage
