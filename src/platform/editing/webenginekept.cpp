// The editing component's page written with its author's markup kept: the original
// bytes of what was not edited, our writer's form for what was.
#include "platform/editing/webengineeditingcomponent.h"

#include "platform/markup/textcodec.h"

#include <QJsonArray>

namespace lumipage
{

void WebEngineEditingComponent::keepOriginal(const QByteArray &bytes, const QString &text)
{
    m_kept.reset(bytes, m_encoding, text);
}

void WebEngineEditingComponent::keepOriginalText(const QString &text)
{
    const QByteArray bytes = textcodec::encode(text, m_encoding);
    const std::optional<textcodec::Decoded> decoded = textcodec::decode(bytes, m_encoding);
    if (decoded && decoded->text == text)
        m_kept.reset(bytes, m_encoding, text);
    else
        m_kept.clear(); // characters the encoding cannot hold: the page differs from its bytes
}

std::optional<QByteArray> WebEngineEditingComponent::keptBytes(const QString &html,
                                                               const documentform::Aids &aids,
                                                               const QVariant &pageChanges)
{
    m_keptFallback.clear();
    if (!m_keepMarkup || !m_kept.hasOriginal()) {
        m_keptFallback = m_keepMarkup ? QStringLiteral("no original bytes to keep") : QString();
        return std::nullopt;
    }
    if (std::optional<QByteArray> bytes = m_kept.writtenBefore(html))
        return bytes;
    QVariant seen = pageChanges; // read with the page, or asked for now
    if (!seen.isValid()) {
        const PageCaller::Result asked = call(QStringLiteral("keptChanges"));
        if (!asked.ok) {
            m_keptFallback = asked.error;
            return std::nullopt;
        }
        seen = asked.value;
    }
    const QVariantMap answer = seen.toMap();
    std::vector<MarkupChange> changes;
    for (const QVariant &row : answer.value(QStringLiteral("changes")).toList()) {
        const QVariantList fields = row.toList();
        MarkupChange change{fields.value(0).toInt(), fields.value(1).toBool(),
                            fields.value(2).toBool()};
        for (const QVariant &part : fields.value(3).toList()) {
            const QVariantList ends = part.toList();
            change.between.emplace_back(ends.value(0).toInt(), ends.value(1).toInt());
        }
        changes.push_back(std::move(change));
    }
    std::optional<std::vector<MarkupRegion>> regions;
    if (!answer.value(QStringLiteral("whole")).toBool())
        regions = m_kept.regions(changes);
    if (!regions) {
        m_keptFallback = QStringLiteral("a change reaches the whole page");
        return std::nullopt;
    }
    QStringList markup;
    if (!regions->empty()) {
        QJsonArray asked;
        for (const MarkupRegion &region : *regions)
            asked.append(region.between
                             ? QJsonArray{region.ordinal, true, region.left, region.right}
                             : QJsonArray{region.ordinal, region.content});
        const PageCaller::Result written =
            call(QStringLiteral("keptMarkup"), QJsonArray{QJsonValue(asked)});
        if (!written.ok) {
            m_keptFallback = written.error;
            return std::nullopt;
        }
        markup = written.value.toStringList();
    }
    return m_kept.write(*regions, markup, html, aids, &m_keptFallback);
}

QByteArray WebEngineEditingComponent::savedBytes(const QString &html,
                                                 const documentform::Aids &aids,
                                                 const QVariant &pageChanges)
{
    if (std::optional<QByteArray> kept = keptBytes(html, aids, pageChanges))
        return *std::move(kept);
    return textcodec::encode(html, m_encoding);
}

std::optional<QString> WebEngineEditingComponent::keptText()
{
    documentform::Aids aids;
    QVariant changes;
    const std::optional<QString> html = readDocument(&aids, &changes);
    if (!html)
        return std::nullopt;
    const std::optional<QByteArray> kept = keptBytes(*html, aids, changes);
    if (!kept)
        return html;
    const std::optional<textcodec::Decoded> decoded = textcodec::decode(*kept, m_encoding);
    return decoded ? decoded->text : *html;
}

QString WebEngineEditingComponent::preservedHTML()
{
    return keptText().value_or(QString());
}

} // namespace lumipage
