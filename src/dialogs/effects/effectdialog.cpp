#include "dialogs/effects/effectdialog.h"

#include "platform/messages.h"

#include <QDialog>

namespace lumipage
{

void finishEffect(QDialog &dialog, const EffectResult &result, EffectRequest &request)
{
    if (const auto *built = std::get_if<EffectRequest>(&result)) {
        request = *built;
        dialog.accept();
        return;
    }
    const auto &other = std::get<BuildResult>(result);
    if (other.isProblem())
        messages::inform(&dialog, other.text);
    else
        dialog.reject();
}

} // namespace lumipage
