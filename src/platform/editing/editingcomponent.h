#pragma once

#include "document/pagedocument.h"
#include "platform/editing/editingcommands.h"
#include "platform/markup/documentform.h"

#include <QFuture>
#include <QJsonArray>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

namespace lumipage
{

// The editing surface the program talks to: commands, statuses, the page as text
// and as files, modes, options and events. Operations are synchronous; failures are
// reported through the return value and lastError(), never by changing the page.
class EditingComponent : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Applies a command to the selection; false when refused or failed (page unchanged).
    virtual bool ExecCommand(int command, CommandOption option, const QVariant &value = {}) = 0;
    // Answered from the last status snapshot.
    virtual CommandStatus QueryStatus(int command) const = 0;
    // The last status snapshot whole: every queried command's status, by command number.
    virtual QHash<int, CommandStatus> statuses() const = 0;

    // The page as a file: its path, encoding, original bytes and the save, which only it
    // writes.
    virtual PageDocument &document() = 0;

    // Reads a page from a file and shows it; on failure (a file that cannot be read, a
    // page the engine stops loading) the current page stays and lastError() says why.
    virtual bool LoadDocument(const QString &path) = 0;
    // Writes the page in its encoding, atomically, through the document; on failure the
    // old file stays whole.
    virtual bool SaveDocument(const QString &path) = 0;
    // Reads the page in one trip, for a save; nullopt (lastError says why) when it
    // cannot be read.
    virtual std::optional<PageSnapshot> readPage() = 0;
    // Hands `page`, read by readPage() with nothing changed since, to the document to
    // write, as SaveDocument does.
    virtual bool savePage(const QString &path, const PageSnapshot &page) = 0;
    // Writes a copy of the page that plays its effects in today's browsers (the effects
    // runtime and translated scripts inline, the page's own scripts kept as they are),
    // in the page's encoding. The page and its own file never change: a copy over the
    // page's own file is refused.
    // With `baseFolder`, names the page writes relatively resolve against that folder
    // wherever the copy lies (the preview copy, written away from the page).
    virtual bool SaveEffectsCopy(const QString &path, const QString &baseFolder = {}) = 0;
    // Replaces the page with an empty one.
    virtual void NewDocument() = 0;
    // Redisplays the page.
    virtual void Refresh() = 0;

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

    // The place among the page's elements (document order, editing aids left out) of the
    // selected object or of the element holding the caret; -1 when there is none.
    virtual int caretElement() { return -1; }
    // Whether each DisplayChanged that only moved the caret tells caretElement() with it
    // (reportedCaretElement), so that a view following the caret needs no call into the
    // page; off until asked for.
    virtual void setFollowReports(bool on) { Q_UNUSED(on) }
    // The caret's element as the last DisplayChanged told it; -1 when it told none (the
    // page changed, or caret reports are off).
    virtual int reportedCaretElement() const { return -1; }
    // Replaces the element at `ordinal`, named `name`, by `markup` (one element) as one
    // undo step; `pageText`, the page's text with it, becomes what a save keeps as the
    // author's own (the markup saved as written). False when the page has no such element
    // or the markup is not one element there (nothing changed).
    virtual bool replaceElement(int ordinal, const QByteArray &name, const QString &markup,
                                const QString &pageText)
    {
        Q_UNUSED(ordinal)
        Q_UNUSED(name)
        Q_UNUSED(markup)
        Q_UNUSED(pageText)
        return false;
    }
    // Selects the element at `ordinal` as a click would (an object gets its outline, any
    // other element the caret at its start) and scrolls to it; false when it cannot.
    virtual bool selectElement(int ordinal) { return ordinal < 0; }

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

    // The document object's part the program uses: paste at the selection, page colour.
    virtual bool pasteHTML(const QString &fragment) = 0;
    virtual bool setBgColor(const QString &colour) = 0;
    // Sets the body's attributes as one undo step, in the given order ahead of the
    // others; a null value removes the attribute.
    virtual bool setBodyAttributes(const QList<QPair<QString, QString>> &attributes) = 0;
    // Writes, as one undo step, each key's value in place of every src, href,
    // background, lowsrc, dynsrc or data attribute holding that key.
    virtual bool replaceReferences(const QHash<QString, QString> &values) = 0;
    // Puts the caret at a point of the page (in the component's coordinates), where a
    // drop landed; false when no text position lies there.
    virtual bool placeCaretAt(const QPoint &pos) = 0;

    // true shows the page as a browser would (scripts on), false makes it editable.
    virtual bool BrowseMode() const = 0;
    virtual void setBrowseMode(bool browse) = 0;
    // In browse mode, the page's script statements that do not run today (each as
    // "line N: what"); empty when everything runs or while editing.
    virtual QStringList statementsLeftOut() const { return {}; }

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

    // Switches an editing aid on or off.
    virtual void setEditingAid(EditingAid aid, bool shown) = 0;
    virtual bool editingAid(EditingAid aid) const = 0;

    // The file the page was read from or saved to last (empty for a new page), and the
    // encoding it is saved in.
    virtual QString documentPath() const = 0;
    virtual QByteArray documentEncoding() const = 0;

    // Whether the component is waiting for the page (a call or a load under way): what
    // would ask the user something waits meanwhile.
    virtual bool busy() const { return false; }

    // Why the last failing operation failed, in words for the user.
    virtual QString lastError() const = 0;
    // What the user should know about the page LoadDocument opened last (bytes its
    // encoding could not decode), or empty.
    virtual QString lastNotice() const = 0;

signals:
    void DocumentComplete();
    void DisplayChanged();
    // The page's content changed (typing, a command, a paste); cheap, sent at most once
    // per display report.
    void contentChanged();
    void GotFocus();
    // The user asked for the right-click menu at `globalPos`; the program shows it.
    void contextMenuRequested(const QPoint &globalPos);
    // A link was followed in browse mode; the page stays, the program may open it outside.
    void linkActivated(const QUrl &url);
    // A recent copy of the changed page, taken once the changes have settled.
    void pageCopied(const QString &html);
    // A new page began, unchanged (loaded, new or replaced; not a return from browse mode):
    // copies of the page before have no use any more.
    void pageBegun();
    // The engine's process behind the page died and the page was brought back from its
    // last copy; `message` tells the user what happened and what may be lost.
    void pageRecovered(const QString &message);
    // Local files were dropped on the page at `pos`; the component does nothing with them.
    void filesDropped(const QList<QUrl> &urls, const QPoint &pos);
};

} // namespace lumipage
