#include "check/spellingsetting.h"

#include "commands/commandactions.h"
#include "platform/editing/editingcomponent.h"

#include <QAction>
#include <QSettings>

namespace lumipage::spelling
{

namespace
{
const QString kEnabledKey = QStringLiteral("spelling/enabled");
}

void registerSetting(EditingComponent &editor, CommandActions &actions)
{
    QAction *toggle = actions.action(CommandId::SpellCheck);
    toggle->setCheckable(true);
    toggle->setChecked(enabled());
    editor.setSpellChecking(toggle->isChecked());
    actions.setHandler(CommandId::SpellCheck, [&editor, toggle] {
        QSettings().setValue(kEnabledKey, toggle->isChecked());
        editor.setSpellChecking(toggle->isChecked());
    });
}

bool enabled()
{
    return QSettings().value(kEnabledKey, true).toBool();
}

} // namespace lumipage::spelling
