#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

namespace lumipage
{

// The roles of the editing surface beside the view itself (commands, statuses, elements,
// modes): each is what one kind of feature needs of the page, so that the feature can ask
// for just that. The editing surface plays them all.

// The page as text: read whole, kept as the author wrote it, followed, replaced.
class PageText
{
public:
    virtual ~PageText() = default;

    // How many changes the page has had since it began (an undo counts as one more); one
    // trip, nothing serialised. nullopt when the page cannot answer.
    virtual std::optional<quint64> pageRevision() { return std::nullopt; }

    // The whole page as text (empty when the page cannot be read).
    virtual QString DocumentHTML() = 0;
    // Replaces the whole page; starts a fresh undo history.
    virtual bool setDocumentHTML(const QString &html) = 0;
    // The text a save would write: with the author's markup kept (see setKeepMarkup),
    // the page's own text but for what was edited; otherwise DocumentHTML.
    virtual QString preservedHTML() { return DocumentHTML(); }
    // The same without waiting for the page: `done` gets it once the page answers, or
    // nullopt when it cannot be read now (a load under way, browse mode, an error). For
    // reads nobody waits for: the recovery copy, the page check.
    virtual void preservedHTMLLater(std::function<void(std::optional<QString>)> done)
    {
        done(preservedHTML());
    }
    // The same, for a view that follows the page: from what changed since the last
    // preservedHTML (whose check of the kept writing a save repeats), without reading the
    // whole page when it can.
    virtual QString followedHTML() { return preservedHTML(); }
    // The page's own text as it was read (UTF-8), while nothing in the page has changed
    // since and its markup is to be kept: what preservedHTML gives once its check passes,
    // without reading the page. nullopt otherwise.
    virtual std::optional<QByteArray> unchangedOriginal() { return std::nullopt; }
    // Whether saving keeps the markup of the file as written where the page was not
    // edited (on), or writes the whole page in DocumentHTML's form (off).
    virtual void setKeepMarkup(bool) {}
    virtual bool keepMarkup() const { return false; }
    // Shows `html`, a page kept from an earlier run, as the page of the file `path` in
    // `encoding` (saved back there); the page counts as changed.
    virtual void openRecovered(const QString &html, const QString &path,
                               const QByteArray &encoding) = 0;

    // Why the last save or preservedHTML wrote the whole page anew although the markup was
    // to be kept; empty when it was kept (or not to be kept).
    virtual QString keptMarkupFallback() const { return {}; }
};

// Questions the page answers in one trip without being read whole, with or without
// waiting.
class PageQueries
{
public:
    virtual ~PageQueries() = default;

    // What the page holds in script: whether it has a script element (whatever the case
    // it was written in), and whether its markup mentions `mention` (when not empty).
    struct ScriptPresence {
        bool script = false;
        bool mentions = false;
    };
    // Asks the page in one trip, without reading it whole; nothing when it does not answer
    // (lastError says why).
    virtual std::optional<ScriptPresence> scriptPresence(const QString &mention = {}) = 0;

    // How the page's text looks, in groups of elements that look alike: the computed
    // colour of their own text, the first background colour behind it that is not
    // transparent (white at the root), size in CSS pixels and weight. Hidden text and
    // text over a background picture are left out.
    struct TextLook {
        QString colour, background;
        double fontSize = 16;
        int fontWeight = 400;
        QList<int> elements; // ordinals, as caretElement counts them
    };
    // Asks the page in one trip; nothing when it does not answer (lastError says why).
    virtual std::optional<std::vector<TextLook>> textLooks() { return std::vector<TextLook>{}; }
    // The same without waiting: `done` gets them once the page answers (nullopt when it
    // cannot).
    virtual void textLooksLater(std::function<void(std::optional<std::vector<TextLook>>)> done)
    {
        done(textLooks());
    }

    // Calls the page runtime's operation `name` without waiting (for reads nobody waits
    // for, like a panel following the caret): `answered` gets its value once the page
    // answers, or an invalid value when it cannot (no page, a load under way, an error).
    virtual void callLater(const QString &name, const QJsonArray &args,
                           std::function<void(const QVariant &)> answered)
    {
        Q_UNUSED(name)
        Q_UNUSED(args)
        answered({});
    }
};

// The engine's spelling checker.
class SpellChecking
{
public:
    virtual ~SpellChecking() = default;

    // The engine's spell checker on the page while editing: misspelt English words are
    // underlined (text in other scripts, Japanese among them, is not checked).
    virtual void setSpellChecking(bool on) = 0;
    virtual bool spellChecking() const = 0;
    // The misspelt word under the last right click and the checker's suggestions for it;
    // an empty word when the click was not on one.
    struct Misspelling {
        QString word;
        QStringList suggestions;
    };
    virtual Misspelling misspellingAtContextMenu() const = 0;
    // Puts `replacement` in place of that word, as one undo step.
    virtual void replaceMisspelling(const QString &replacement) = 0;
};

} // namespace lumipage
