#include "dialogs/effects/blendimagemarkup.h"

#include "widgets/attributetext.h"

namespace lumipage
{

QString blendImageId(int idNumber)
{
    return QStringLiteral("image") + QString::number(idNumber);
}

EffectResult blendImageRequest(const BlendImageFields &fields, const QString &pageFolder)
{
    if (fields.firstImage.isEmpty() || fields.nextImage.isEmpty())
        return BuildResult::problem(QStringLiteral("画像が指定されていません！"));
    EffectRequest request;
    request.effectId = blendImageId(fields.idNumber);
    request.image1 = effectfields::pageRelativePath(fields.firstImage, pageFolder);
    request.image2 = effectfields::pageRelativePath(fields.nextImage, pageFolder);
    request.fragment = QStringLiteral("<IMG ID=") + request.effectId + QStringLiteral(" SRC=\"") +
                       attributetext::doubleQuoted(request.image1) +
                       QStringLiteral("\" STYLE=\"Filter:blendtrans(duration=3)\">");
    return request;
}

} // namespace lumipage
