// The C++ side of the page protocol for reading and keeping the page: each call's
// answer is a JSON object with named fields, decoded here and nowhere else (the page's
// side is runtime/serializer.js and runtime/changes.js).
#include "platform/editing/pageprotocol.h"

#include <QJsonObject>

namespace lumipage::pageprotocol
{

DocumentMarkup documentMarkup(const QVariant &answer)
{
    const QVariantMap fields = answer.toMap();
    DocumentMarkup markup;
    markup.before = fields.value(QStringLiteral("before")).toString();
    markup.root = fields.value(QStringLiteral("root")).toString();
    markup.after = fields.value(QStringLiteral("after")).toString();
    for (const QVariant &name : fields.value(QStringLiteral("aidAttributes")).toList())
        markup.aids.attributes.insert(name.toString());
    markup.changes = fields.value(QStringLiteral("changes"));
    markup.revision = fields.value(QStringLiteral("revision")).toUInt();
    return markup;
}

PageChanges keptChanges(const QVariant &answer)
{
    const QVariantMap fields = answer.toMap();
    PageChanges kept;
    kept.whole = fields.value(QStringLiteral("whole")).toBool();
    kept.generation = fields.value(QStringLiteral("generation")).toInt();
    for (const QVariant &row : fields.value(QStringLiteral("changes")).toList()) {
        const QVariantMap change = row.toMap();
        MarkupChange decoded{change.value(QStringLiteral("element")).toInt(),
                             change.value(QStringLiteral("startTag")).toBool(),
                             change.value(QStringLiteral("content")).toBool()};
        for (const QVariant &stretch : change.value(QStringLiteral("stretches")).toList()) {
            const QVariantMap ends = stretch.toMap();
            decoded.between.emplace_back(ends.value(QStringLiteral("after")).toInt(),
                                         ends.value(QStringLiteral("before")).toInt());
        }
        // In the order the runtime gives them: the start tag, the content, each part.
        const QStringList markup = change.value(QStringLiteral("markup")).toStringList();
        std::vector<MarkupRegion> own;
        if (decoded.attributes)
            own.push_back({decoded.ordinal, false});
        if (decoded.content)
            own.push_back({decoded.ordinal, true});
        for (const auto &[left, right] : decoded.between)
            own.push_back({decoded.ordinal, true, true, left, right});
        if (qsizetype(own.size()) == markup.size())
            for (size_t k = 0; k < own.size(); ++k)
                kept.markup.emplace_back(own[k], markup.at(qsizetype(k)));
        kept.changes.push_back(std::move(decoded));
    }
    return kept;
}

QJsonArray keptRegions(const std::vector<MarkupRegion> &regions)
{
    QJsonArray asked;
    for (const MarkupRegion &region : regions) {
        QJsonObject fields{{QStringLiteral("element"), region.ordinal},
                           {QStringLiteral("content"), region.content || region.between}};
        if (region.between) {
            fields.insert(QStringLiteral("after"), region.left);
            fields.insert(QStringLiteral("before"), region.right);
        }
        asked.append(fields);
    }
    return asked;
}

std::vector<EditingComponent::TextLook> textLooks(const QVariant &answer)
{
    std::vector<EditingComponent::TextLook> looks;
    for (const QVariant &row : answer.toList()) {
        const QVariantMap fields = row.toMap();
        EditingComponent::TextLook look;
        look.colour = fields.value(QStringLiteral("colour")).toString();
        look.background = fields.value(QStringLiteral("background")).toString();
        look.fontSize = fields.value(QStringLiteral("fontSize")).toDouble();
        look.fontWeight = fields.value(QStringLiteral("fontWeight")).toInt();
        for (const QVariant &ordinal : fields.value(QStringLiteral("elements")).toList())
            look.elements << ordinal.toInt();
        looks.push_back(look);
    }
    return looks;
}

} // namespace lumipage::pageprotocol
