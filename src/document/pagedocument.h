#pragma once

#include "document/pagefile.h"
#include "platform/markup/documentform.h"
#include "platform/markup/keptmarkup.h"

#include <QByteArray>
#include <QFuture>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace lumipage
{

// What changed on the page since the original it numbers its elements for, as the page
// tells it: the changed elements, or that only the whole page will do.
struct PageChanges {
    bool whole = false;
    std::vector<MarkupChange> changes;
    int generation = 0; // which original the ordinals count in
    // The page's own markup of the changes' stretches, where it came with them.
    std::vector<std::pair<MarkupRegion, QString>> markup;
};

// The page read once, for a save: its text in DocumentHTML's form (formed on a worker
// while the save puts its bytes together; html() waits for it), the page's own
// serialisation for scans that need not wait, its editing aids, and what changed.
struct PageSnapshot {
    QFuture<QString> forming;
    QString markup;
    documentform::Aids aids;
    std::optional<PageChanges> changes; // nullopt when not read with the page
    // How many changes the page had had when read (see EditingComponent::pageRevision).
    std::optional<quint64> revision = std::nullopt;

    QString html() const { return forming.result(); }
};

// What the document asks of the page while it writes the author's markup: the page (an
// editing view) answers.
class PageSource
{
public:
    virtual ~PageSource() = default;
    // What changed since the original, with the page's markup of each change's stretch
    // when `withMarkup`; nullopt, with `why`, when the page does not answer.
    virtual std::optional<PageChanges> pageChanges(bool withMarkup, QString *why) = 0;
    // The page's markup of each of `regions` (see KeptMarkup::write); nullopt, with `why`.
    virtual std::optional<QStringList> stretchMarkup(const std::vector<MarkupRegion> &regions,
                                                     QString *why) = 0;
};

// The open page as a file: which file it is, its encoding, the bytes it was read from
// (kept, so that a save writes the author's markup anew only where it was edited), and
// the save itself. A view shows the page and answers what changed (PageSource); only
// the document reads and writes files.
class PageDocument
{
public:
    QString path() const { return m_path; }
    QByteArray encoding() const { return m_encoding; }
    // What the user should know about the last page read (bytes its encoding could not
    // decode), or empty.
    QString notice() const { return m_notice; }

    // Reads the page at `path`: on success the document is that file, with its bytes kept
    // as the original; `page` gets its text. On failure nothing changes and `error` says why.
    bool open(const QString &path, pagefile::Page *page, QString *error);
    // The document as it stands, to come back to when the page just opened cannot be shown.
    struct State {
        QString path, notice;
        QByteArray encoding;
    };
    State state() const { return {m_path, m_notice, m_encoding}; }
    // Back to `state`, showing `text` (no file holds it as such; nothing kept without it).
    void restore(const State &state, const std::optional<QString> &text);
    // A new page, in no file.
    void clear();
    // The page shows `text`, which no file holds (set whole, or brought back from a copy):
    // its encoded form is the original. With `path`/`encoding`, the page is that file's.
    void showText(const QString &text);
    void showRecovered(const QString &text, const QString &path, const QByteArray &encoding);
    // The page began afresh with what was shown last: the first writing is checked whole.
    void began();
    // The page replaced one element by markup as written and numbered its elements afresh
    // (`generation`); `pageText`, the page's text with it, is the original from now on.
    // The one before comes back when the page's undo returns to its numbering.
    void replacedElement(int generation, const QString &pageText);

    // Whether saving keeps the markup of the file as written where the page was not
    // edited (on), or writes the page whole in DocumentHTML's form (off).
    void setKeepMarkup(bool keep) { m_keepMarkup = keep; }
    bool keepMarkup() const { return m_keepMarkup; }
    // Whether a save wants the page's changes read with it.
    bool wantsChanges() const { return m_keepMarkup && m_kept.hasOriginal(); }
    // Why the last save or kept text wrote the whole page although the markup was to be
    // kept; empty when it was kept.
    QString keptFallback() const { return m_keptFallback; }
    KeptMarkup::Check keptCheck() const { return m_kept.lastCheck(); }

    // Writes `page` to `path` in the page's encoding, atomically: with the author's markup
    // kept where it reads back as the page, else whole. `written` gets the bytes the file
    // holds now; the document is that file from then on. On failure the old file stays
    // whole and `error` says why.
    bool save(const QString &path, const PageSnapshot &page, PageSource &source,
              QByteArray *written, QString *error);
    // Writes `text` to `path` in the page's encoding (a copy; the document stays its file).
    // A copy over the page's own file is refused.
    bool writeCopy(const QString &path, const QString &text, QString *error) const;

    // The text a save would write, for `page`; the page's own text when the markup cannot
    // be kept.
    QString keptText(const PageSnapshot &page, PageSource &source);
    // The kept bytes from the changes alone (`reported`, when the page told them with its
    // last change, else asked for), unchecked: only where the last writing kept the markup
    // and read back. nullopt otherwise.
    std::optional<QByteArray> followedBytes(std::optional<PageChanges> reported,
                                            PageSource &source);
    // The page's own text as read (UTF-8), while the page reports no change since; nullopt
    // otherwise.
    std::optional<QByteArray> unchangedOriginal(PageSource &source);

private:
    void keepOriginalText(const QString &text);
    std::optional<KeptMarkup::Composed> composeKept(const PageSnapshot &page, PageSource &source);
    std::optional<QByteArray> keptReadBack(const KeptMarkup::Composed &composed,
                                           const QString &html);
    bool keepGeneration(int generation);
    std::optional<QStringList>
    regionMarkup(const std::vector<MarkupRegion> &regions, PageSource &source, QString *why,
                 const std::vector<std::pair<MarkupRegion, QString>> &known);

    QString m_path;
    QByteArray m_encoding = "UTF-8";
    QString m_notice;
    KeptMarkup m_kept;
    // The originals an element typed as written replaced, by the page's number for them:
    // an undo of that element brings its original back. m_kept is number m_keptGeneration.
    QHash<int, KeptMarkup> m_keptBefore;
    int m_keptGeneration = 0;
    bool m_keepMarkup = true;
    QString m_keptFallback;
    bool m_keptWritten = false;    // the last kept writing was checked and kept the markup
    documentform::Aids m_keptAids; // what the page's editing aids were at its last reading
};

} // namespace lumipage
