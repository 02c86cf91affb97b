#include "dialogs/effects/effectresult.h"

#include "fragments/imagemarkup.h"

#include <QDir>

namespace lumipage::effectfields
{

std::optional<int> transitionNumber(const QString &text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 2)
        return std::nullopt;
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const int number = digits.toInt();
    if (number > 23)
        return std::nullopt;
    return number;
}

QString transitionProblem()
{
    return QStringLiteral("Transitionは0から23までの整数で指定してください。");
}

QString filterTextId(int idNumber)
{
    return QStringLiteral("VELD") + QString::number(idNumber);
}

EffectRequest filterTextRequest(int idNumber, const QString &action, const QString &filter)
{
    EffectRequest request;
    request.effectId = filterTextId(idNumber);
    request.withScript = action == withScriptAction();
    request.fragment = QStringLiteral("<DIV ID=") + request.effectId +
                       QStringLiteral(" STYLE=\"width:100%;Filter:") + filter +
                       QStringLiteral("\">ここに文字を入力</DIV>");
    return request;
}

QString pageRelativePath(const QString &file, const QString &pageFolder)
{
    // The image dialog of the editing surface owns the rule for relative names; only
    // absolute paths are handed to it, so typed names keep their exact spelling.
    if (pageFolder.isEmpty() || !QDir::isAbsolutePath(file.trimmed()))
        return file;
    const auto attributes = imageAttributes(ImageFields{file, {}, {}, {}, {}, {}}, pageFolder);
    return attributes.isEmpty() ? file : attributes.first().second;
}

QString withScriptAction()
{
    return QStringLiteral("あり");
}

QString withoutScriptAction()
{
    return QStringLiteral("なし");
}

} // namespace lumipage::effectfields
