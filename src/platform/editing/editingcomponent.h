#pragma once

#include "document/pagedocument.h"
#include "platform/editing/editingcommands.h"
#include "platform/editing/editingroles.h"
#include "platform/markup/documentform.h"

#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QWidget>

#include <optional>

namespace lumipage
{

// The editing surface the program talks to: a view of the page (commands, statuses, the
// elements by their place, modes, options and events) and a face over the page's file
// (loading, saving); the roles a feature needs beside these are interfaces of their own
// (editingroles.h). Operations are synchronous; failures are reported through the return
// value and lastError(), never by changing the page.
class EditingComponent : public QWidget, public PageText, public PageQueries, public SpellChecking
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
    // other element the caret at its start) and scrolls to it, without waiting for the
    // page: nobody needs the answer (nothing happens while a page loads or is browsed).
    virtual void selectElement(int ordinal) { Q_UNUSED(ordinal) }

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
