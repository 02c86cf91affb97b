#pragma once

namespace lumipage
{

class CommandActions;
class SpellChecking;

namespace spelling
{

// Registers the setting 「スペルチェック」: a checkable command that switches the page's
// spell checking (underlines and the right-click suggestions) at once, remembered between
// runs, and applies the remembered choice to `checker`.
void registerSetting(SpellChecking &checker, CommandActions &actions);

// The remembered choice (QSettings "spelling/enabled", on by default).
bool enabled();

} // namespace spelling
} // namespace lumipage
