#include "dialogs/effects/revealtextmarkup.h"

#include "widgets/attributetext.h"

namespace lumipage
{

EffectResult revealTextRequest(const RevealTextFields &fields)
{
    const auto transition = effectfields::transitionNumber(fields.transition);
    if (!transition)
        return BuildResult::problem(effectfields::transitionProblem());
    using attributetext::doubleQuoted;
    EffectRequest request;
    request.fragment =
        QStringLiteral("<DIV id=veld style=\"width:100%;filter:revealtrans(transition=") +
        QString::number(*transition) + QStringLiteral(",duration=3);text-align:") +
        doubleQuoted(fields.alignment) + QStringLiteral(";background-color:") +
        doubleQuoted(fields.background) + QStringLiteral(";visibility:hidden\">文字を入力</DIV>");
    return request;
}

} // namespace lumipage
