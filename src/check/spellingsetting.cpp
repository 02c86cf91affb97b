#include "check/spellingsetting.h"

#include "commands/commandactions.h"
#include "platform/editing/editingroles.h"

#include <QAction>
#include <QSettings>

namespace lumipage::spelling
{

namespace
{
const QString kEnabledKey = QStringLiteral("spelling/enabled");
}

void registerSetting(SpellChecking &checker, CommandActions &actions)
{
    QAction *toggle = actions.action(CommandId::SpellCheck);
    toggle->setCheckable(true);
    toggle->setChecked(enabled());
    checker.setSpellChecking(toggle->isChecked());
    actions.setHandler(CommandId::SpellCheck, [&checker, toggle] {
        QSettings().setValue(kEnabledKey, toggle->isChecked());
        checker.setSpellChecking(toggle->isChecked());
    });
}

bool enabled()
{
    return QSettings().value(kEnabledKey, true).toBool();
}

} // namespace lumipage::spelling
