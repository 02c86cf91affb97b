#include "dialogs/effects/revealimagemarkup.h"

#include "widgets/attributetext.h"

namespace lumipage
{

EffectResult revealImageRequest(const RevealImageFields &fields, const QString &pageFolder)
{
    const auto transition = effectfields::transitionNumber(fields.transition);
    if (!transition)
        return BuildResult::problem(effectfields::transitionProblem());
    using attributetext::doubleQuoted;
    const QString image = effectfields::pageRelativePath(fields.image, pageFolder);
    EffectRequest request;
    request.fragment = QStringLiteral("<IMG id=veldimage SRC=\"") + doubleQuoted(image) +
                       QStringLiteral("\"ALT=\"") + doubleQuoted(fields.alt) +
                       QStringLiteral("\"style=\"filter:revealtrans(transition=") +
                       QString::number(*transition) +
                       QStringLiteral(",duration=3);visibility:hidden\"></DIV>");
    return request;
}

} // namespace lumipage
