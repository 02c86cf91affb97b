#include "platform/editing/dialogs/fontrequest.h"

#include <QColor>
#include <QRegularExpression>

namespace lumipage
{

QString pageColour(const QString &text)
{
    const QString trimmed = text.trimmed();
    static const QRegularExpression rgb(
        QStringLiteral("^rgba?\\(\\s*(\\d+)\\s*,\\s*(\\d+)\\s*,\\s*(\\d+)\\s*(,[^)]*)?\\)$"));
    if (const auto m = rgb.match(trimmed); m.hasMatch()) {
        const QColor colour(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return colour.isValid() ? colour.name() : QString();
    }
    const QColor colour = QColor::fromString(trimmed);
    return trimmed.isEmpty() || !colour.isValid() ? QString() : colour.name();
}

FontRequest fontRequest(const FontFields &fields, const FontFields &current)
{
    FontRequest out;
    const QString size = fields.size.trimmed();
    bool whole = false;
    const int sizeValue = size.toInt(&whole);
    if (!size.isEmpty() && (!whole || sizeValue < 1 || sizeValue > 7)) {
        out.problem = QStringLiteral("サイズは1から7までの数字で指定してください。");
        return out;
    }
    const QString colour = pageColour(fields.color);
    if (!fields.color.trimmed().isEmpty() && colour.isEmpty()) {
        out.problem = QStringLiteral("色は #RRGGBB の形か色の名前で指定してください。");
        return out;
    }
    const QString face = fields.face.trimmed();
    if (!face.isEmpty() && face != current.face.trimmed())
        out.request.insert(QStringLiteral("face"), face);
    if (!size.isEmpty() && size != current.size.trimmed())
        out.request.insert(QStringLiteral("size"), sizeValue);
    if (!colour.isEmpty() && colour != pageColour(current.color))
        out.request.insert(QStringLiteral("color"), colour);
    if (fields.bold != current.bold)
        out.request.insert(QStringLiteral("bold"), fields.bold);
    if (fields.italic != current.italic)
        out.request.insert(QStringLiteral("italic"), fields.italic);
    if (fields.underline != current.underline)
        out.request.insert(QStringLiteral("underline"), fields.underline);
    return out;
}

} // namespace lumipage
