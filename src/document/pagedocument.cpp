#include "document/pagedocument.h"

#include "platform/markup/textcodec.h"

#include <QFileInfo>

#include <algorithm>

namespace lumipage
{

bool PageDocument::open(const QString &path, pagefile::Page *page, QString *error)
{
    if (!pagefile::read(path, page, error))
        return false;
    m_path = QFileInfo(path).absoluteFilePath();
    m_encoding = page->encoding;
    m_notice = page->notice;
    m_kept.reset(page->bytes, m_encoding, page->text);
    return true;
}

void PageDocument::restore(const State &state, const std::optional<QString> &text)
{
    m_path = state.path;
    m_encoding = state.encoding;
    m_notice = state.notice;
    if (text)
        keepOriginalText(*text);
    else
        m_kept.clear(); // what the page shows is not known: a save writes it whole
}

void PageDocument::clear()
{
    m_path.clear();
    m_encoding = "UTF-8";
    m_notice.clear();
    m_kept.clear();
}

void PageDocument::showText(const QString &text)
{
    keepOriginalText(text);
}

void PageDocument::showRecovered(const QString &text, const QString &path,
                                 const QByteArray &encoding)
{
    m_path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    m_encoding = encoding.isEmpty() ? QByteArray("UTF-8") : encoding;
    m_notice.clear();
    keepOriginalText(text);
}

void PageDocument::began()
{
    m_keptBefore.clear(); // the new page numbers its elements for the original kept now
    m_keptGeneration = 0;
    m_keptWritten = false;
}

void PageDocument::replacedElement(int generation, const QString &pageText)
{
    m_keptBefore.insert(m_keptGeneration, m_kept);
    m_keptGeneration = generation;
    keepOriginalText(pageText);
    m_keptWritten = false; // read back whole once before a view follows it unchecked
}

void PageDocument::keepOriginalText(const QString &text)
{
    const QByteArray bytes = textcodec::encode(text, m_encoding);
    const std::optional<textcodec::Decoded> decoded = textcodec::decode(bytes, m_encoding);
    if (decoded && decoded->text == text)
        m_kept.reset(bytes, m_encoding, text);
    else
        m_kept.clear(); // characters the encoding cannot hold: the page differs from its bytes
}

bool PageDocument::save(const QString &path, const PageSnapshot &page, PageSource &source,
                        QByteArray *written, QString *error)
{
    // The kept bytes are put together and made durable in a temporary file while the
    // page's text is formed; they take the file's place only once they read back as it.
    const std::optional<KeptMarkup::Composed> composed = composeKept(page, source);
    std::optional<atomicfile::Pending> pending;
    if (composed) {
        pending = pagefile::beginWrite(path, composed->bytes, error);
        if (!pending)
            return false;
    }
    const QString html = page.html();
    bool saved = false;
    if (composed && keptReadBack(*composed, html)) {
        *written = composed->bytes;
        saved = pagefile::commitWrite(*pending, path, composed->bytes.size(), error);
    } else {
        pending.reset(); // its temporary file goes; the file is written whole instead
        *written = textcodec::encode(html, m_encoding);
        saved = pagefile::writeBytes(path, *written, error);
    }
    if (saved) // the page is that file from now on
        m_path = QFileInfo(path).absoluteFilePath();
    return saved;
}

bool PageDocument::writeCopy(const QString &path, const QString &text, QString *error) const
{
    if (!m_path.isEmpty() && QFileInfo(path) == QFileInfo(m_path)) {
        *error = QStringLiteral(
            "編集中のページのファイルには書き出せません。別の名前を指定してください。");
        return false;
    }
    return pagefile::write(path, text, m_encoding, error);
}

QString PageDocument::keptText(const PageSnapshot &page, PageSource &source)
{
    const std::optional<KeptMarkup::Composed> composed = composeKept(page, source);
    const QString html = page.html();
    if (!composed)
        return html;
    const std::optional<QByteArray> kept = keptReadBack(*composed, html);
    if (!kept)
        return html;
    const std::optional<textcodec::Decoded> decoded = textcodec::decode(*kept, m_encoding);
    return decoded ? decoded->text : html;
}

std::optional<KeptMarkup::Composed> PageDocument::composeKept(const PageSnapshot &page,
                                                              PageSource &source)
{
    m_keptFallback.clear();
    m_keptWritten = false;
    if (!wantsChanges()) {
        m_keptFallback = m_keepMarkup ? QStringLiteral("no original bytes to keep") : QString();
        return std::nullopt;
    }
    std::optional<PageChanges> changed = page.changes; // read with the page, or asked for now
    if (!changed)
        changed = source.pageChanges(true, &m_keptFallback);
    if (!changed)
        return std::nullopt;
    if (!keepGeneration(changed->generation)) {
        m_keptFallback = QStringLiteral("the page's original is not known");
        return std::nullopt;
    }
    std::optional<std::vector<MarkupRegion>> regions;
    if (!changed->whole)
        regions = m_kept.regions(changed->changes);
    if (!regions) {
        m_keptFallback = QStringLiteral("a change reaches the whole page");
        return std::nullopt;
    }
    const std::optional<QStringList> markup =
        regionMarkup(*regions, source, &m_keptFallback, changed->markup);
    if (!markup)
        return std::nullopt;
    m_keptAids = page.aids;
    return m_kept.compose(*regions, *markup, page.aids, &m_keptFallback);
}

std::optional<QByteArray> PageDocument::keptReadBack(const KeptMarkup::Composed &composed,
                                                     const QString &html)
{
    std::optional<QByteArray> bytes = m_kept.readBack(composed, html, &m_keptFallback);
    m_keptWritten = bytes.has_value();
    return bytes;
}

std::optional<QStringList>
PageDocument::regionMarkup(const std::vector<MarkupRegion> &regions, PageSource &source,
                           QString *why, const std::vector<std::pair<MarkupRegion, QString>> &known)
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
    const std::optional<QStringList> answers = source.stretchMarkup(asked, why);
    if (!answers)
        return std::nullopt;
    if (answers->size() != qsizetype(asked.size())) {
        *why = QStringLiteral("the page did not give the markup of each change");
        return std::nullopt;
    }
    for (size_t k = 0; k < askedAt.size(); ++k)
        markup[askedAt[k]] = answers->at(qsizetype(k));
    return markup;
}

bool PageDocument::keepGeneration(int generation)
{
    if (generation == m_keptGeneration)
        return true;
    // An element typed as written was undone or redone: its original returns.
    const auto other = m_keptBefore.constFind(generation);
    if (other == m_keptBefore.cend())
        return false;
    KeptMarkup now = std::exchange(m_kept, *other);
    m_keptBefore.erase(other);
    m_keptBefore.insert(std::exchange(m_keptGeneration, generation), std::move(now));
    return true;
}

std::optional<QByteArray> PageDocument::followedBytes(std::optional<PageChanges> reported,
                                                      PageSource &source)
{
    // Only where the last writing kept the markup and read back: the changes since are
    // spliced in as a save splices them, and the save checks them again.
    if (!wantsChanges() || !m_keptWritten)
        return std::nullopt;
    QString why;
    if (!reported)
        reported = source.pageChanges(true, &why);
    if (!reported || reported->whole || !keepGeneration(reported->generation))
        return std::nullopt;
    const std::optional<std::vector<MarkupRegion>> regions = m_kept.regions(reported->changes);
    if (!regions)
        return std::nullopt;
    const std::optional<QStringList> markup =
        regionMarkup(*regions, source, &why, reported->markup);
    if (!markup)
        return std::nullopt;
    return m_kept.write(*regions, *markup, {}, m_keptAids, &why, false);
}

std::optional<QByteArray> PageDocument::unchangedOriginal(PageSource &source)
{
    if (!wantsChanges())
        return std::nullopt;
    // Only the change list is asked for: the page is not serialised.
    QString why;
    const std::optional<PageChanges> changed = source.pageChanges(false, &why);
    if (!changed || changed->whole || !changed->changes.empty() ||
        changed->generation != m_keptGeneration)
        return std::nullopt;
    return m_kept.originalText();
}

} // namespace lumipage
