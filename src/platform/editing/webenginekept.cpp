// The editing component's page written with its author's markup kept: the original
// bytes of what was not edited, our writer's form for what was.
#include "platform/editing/webengineeditingcomponent.h"

#include "platform/editing/pageloader.h"
#include "platform/editing/pageprotocol.h"
#include "platform/markup/textcodec.h"
#include "document/pagefile.h"

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

std::optional<KeptMarkup::Composed> WebEngineEditingComponent::composeKept(const PageReading &page)
{
    m_keptFallback.clear();
    m_keptWritten = false;
    if (!m_keepMarkup || !m_kept.hasOriginal()) {
        m_keptFallback = m_keepMarkup ? QStringLiteral("no original bytes to keep") : QString();
        return std::nullopt;
    }
    QVariant seen = page.changes; // read with the page, or asked for now
    if (!seen.isValid()) {
        const PageCaller::Result asked = call(QStringLiteral("keptChanges"), QJsonArray{true});
        if (!asked.ok) {
            m_keptFallback = asked.error;
            return std::nullopt;
        }
        seen = asked.value;
    }
    const pageprotocol::KeptChanges changed = pageprotocol::keptChanges(seen);
    if (!keepGeneration(changed.generation)) {
        m_keptFallback = QStringLiteral("the page's original is not known");
        return std::nullopt;
    }
    std::optional<std::vector<MarkupRegion>> regions;
    if (!changed.whole)
        regions = m_kept.regions(changed.changes);
    if (!regions) {
        m_keptFallback = QStringLiteral("a change reaches the whole page");
        return std::nullopt;
    }
    const std::optional<QStringList> markup =
        regionMarkup(*regions, &m_keptFallback, changed.markup);
    if (!markup)
        return std::nullopt;
    m_keptAids = page.aids;
    return m_kept.compose(*regions, *markup, page.aids, &m_keptFallback);
}

std::optional<QByteArray>
WebEngineEditingComponent::keptReadBack(const KeptMarkup::Composed &composed, const QString &html)
{
    std::optional<QByteArray> bytes = m_kept.readBack(composed, html, &m_keptFallback);
    m_keptWritten = bytes.has_value();
    return bytes;
}

std::optional<QByteArray> WebEngineEditingComponent::keptBytes(const PageReading &page)
{
    const std::optional<KeptMarkup::Composed> composed = composeKept(page);
    return composed ? keptReadBack(*composed, page.html()) : std::nullopt;
}

bool WebEngineEditingComponent::writePage(const QString &path, const PageReading &page,
                                          QByteArray *written)
{
    // The kept bytes are put together and made durable in a temporary file while the
    // page's text is formed; they take the file's place only once they read back as it.
    const std::optional<KeptMarkup::Composed> composed = composeKept(page);
    std::optional<atomicfile::Pending> pending;
    if (composed) {
        pending = pagefile::beginWrite(path, composed->bytes, &m_lastError);
        if (!pending)
            return false;
    }
    const QString html = page.html();
    if (composed && keptReadBack(*composed, html)) {
        *written = composed->bytes;
        return pagefile::commitWrite(*pending, path, composed->bytes.size(), &m_lastError);
    }
    pending.reset(); // its temporary file goes; the file is written whole instead
    *written = textcodec::encode(html, m_encoding);
    return pagefile::writeBytes(path, *written, &m_lastError);
}

std::optional<QStringList>
WebEngineEditingComponent::regionMarkup(const std::vector<MarkupRegion> &regions, QString *why,
                                        const std::vector<std::pair<MarkupRegion, QString>> &known)
{
    // What came with the changes is taken as it is; only the rest is asked for.
    QStringList markup;
    std::vector<MarkupRegion> asked;
    std::vector<qsizetype> askedAt;
    for (const MarkupRegion &region : regions) {
        const auto found =
            std::ranges::find(known, region, &std::pair<MarkupRegion, QString>::first);
        if (found == known.end()) {
            askedAt.push_back(markup.size());
            asked.push_back(region);
        }
        markup.append(found == known.end() ? QString() : found->second);
    }
    if (asked.empty())
        return markup;
    const PageCaller::Result written = call(
        QStringLiteral("keptMarkup"), QJsonArray{QJsonValue(pageprotocol::keptRegions(asked))});
    const QStringList answers = written.value.toStringList();
    if (!written.ok || answers.size() != qsizetype(asked.size())) {
        *why = written.ok ? QStringLiteral("the page did not give the markup of each change")
                          : written.error;
        return std::nullopt;
    }
    for (size_t k = 0; k < askedAt.size(); ++k)
        markup[askedAt[k]] = answers.at(qsizetype(k));
    return markup;
}

bool WebEngineEditingComponent::keepGeneration(int generation)
{
    if (generation == m_keptGeneration)
        return true;
    // An element typed in the source pane was undone or redone: its original returns.
    const auto other = m_keptBefore.constFind(generation);
    if (other == m_keptBefore.cend())
        return false;
    KeptMarkup now = std::exchange(m_kept, *other);
    m_keptBefore.erase(other);
    m_keptBefore.insert(std::exchange(m_keptGeneration, generation), std::move(now));
    return true;
}

void WebEngineEditingComponent::setFollowReports(bool on)
{
    if (m_followReports == on)
        return;
    m_followReports = on;
    m_reportedCaret = -1;
    m_reportedKept.clear();
    updateConfiguration(); // a page loaded later starts with them
    if (m_loader->ready() && !m_loader->pending())
        call(QStringLiteral("followReports"), {on});
}

std::optional<QByteArray> WebEngineEditingComponent::followedBytes()
{
    // Only where the last writing kept the markup and read back: the changes since are
    // spliced in as a save splices them, and the save checks them again.
    if (!m_keepMarkup || !m_kept.hasOriginal() || !m_keptWritten)
        return std::nullopt;
    // What the page sent with its last change, if no call went into it since (one might
    // have changed it); else asked for.
    QVariant seen = m_reportedKeptAt == m_caller.callsMade() ? m_reportedKept : QVariant();
    if (!seen.isValid()) {
        const PageCaller::Result asked = call(QStringLiteral("keptChanges"), QJsonArray{true});
        if (!asked.ok)
            return std::nullopt;
        seen = asked.value;
    }
    const pageprotocol::KeptChanges changed = pageprotocol::keptChanges(seen);
    if (changed.whole || !keepGeneration(changed.generation))
        return std::nullopt;
    const std::optional<std::vector<MarkupRegion>> regions = m_kept.regions(changed.changes);
    if (!regions)
        return std::nullopt;
    QString why;
    const std::optional<QStringList> markup = regionMarkup(*regions, &why, changed.markup);
    if (!markup)
        return std::nullopt;
    return m_kept.write(*regions, *markup, {}, m_keptAids, &why, false);
}

std::optional<QByteArray> WebEngineEditingComponent::unchangedOriginal()
{
    if (!m_keepMarkup || !m_kept.hasOriginal())
        return std::nullopt;
    // Only the change list is asked for: the page is not serialised.
    const PageCaller::Result asked = call(QStringLiteral("keptChanges"), QJsonArray{false});
    if (!asked.ok)
        return std::nullopt;
    const pageprotocol::KeptChanges changed = pageprotocol::keptChanges(asked.value);
    if (changed.whole || !changed.changes.empty() || changed.generation != m_keptGeneration)
        return std::nullopt;
    return m_kept.originalText();
}

QString WebEngineEditingComponent::followedHTML()
{
    if (const std::optional<QByteArray> bytes = followedBytes())
        if (const std::optional<textcodec::Decoded> decoded = textcodec::decode(*bytes, m_encoding))
            return decoded->text;
    return preservedHTML();
}

std::optional<QString> WebEngineEditingComponent::keptText()
{
    const std::optional<PageReading> page = readPage();
    if (!page)
        return std::nullopt;
    const std::optional<QByteArray> kept = keptBytes(*page);
    if (!kept)
        return page->html();
    const std::optional<textcodec::Decoded> decoded = textcodec::decode(*kept, m_encoding);
    return decoded ? decoded->text : page->html();
}

QString WebEngineEditingComponent::preservedHTML()
{
    return keptText().value_or(QString());
}

} // namespace lumipage
