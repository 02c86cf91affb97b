#pragma once

#include "platform/editing/editingcomponent.h"

#include <QHash>
#include <QStringList>

namespace lumipage::test
{

// An editing surface without an engine, for testing the controllers that talk to
// EditingComponent: the page is a text and a caret element, statuses are what the test
// sets, every operation a controller asks of the page is recorded in `calls` (reads too,
// so that a test can say a page was read once, or not at all), and the page's events are
// sent when the test says so. Needs no display: QT_QPA_PLATFORM=offscreen will do.
class FakePageView : public EditingComponent
{
    Q_OBJECT
public:
    using EditingComponent::EditingComponent;

    // What the controllers asked of the page, in order: "read", "exec 5000",
    // "paste <B>x</B>", "caretElement", "select 3", …
    QStringList calls;
    // The page's text, as DocumentHTML and preservedHTML give it.
    QString page;
    // The file and encoding the page belongs to.
    QString path;
    QByteArray encoding = "UTF-8";
    // The original text while nothing changed since the load (unchangedOriginal).
    std::optional<QByteArray> original;
    // Operations that change the page fail (nothing recorded changes the page).
    bool refuse = false;
    QString error;
    // Answers to callLater by operation name; later, when `answerLater` is set.
    QHash<QString, QVariant> answers;
    bool answerLater = false;
    // The script check's answer.
    std::optional<ScriptPresence> scripts = ScriptPresence{};

    void setStatus(int command, CommandStatus status) { m_statuses.insert(command, status); }

    // The caret moved to the element at `ordinal`: one DisplayChanged, which tells the
    // element when caret reports are on.
    void moveCaret(int ordinal);
    // The page became `text` (typing, a command): contentChanged and DisplayChanged, which
    // tells no element.
    void change(const QString &text);
    // A new page `text` loaded from `file`: pageBegun, then DocumentComplete.
    void load(const QString &text, const QString &file = {});
    // The calls recorded since the last take, which empties the record.
    QStringList takeCalls() { return std::exchange(calls, {}); }

    bool ExecCommand(int command, CommandOption option, const QVariant &value = {}) override;
    CommandStatus QueryStatus(int command) const override;
    QHash<int, CommandStatus> statuses() const override { return m_statuses; }
    PageDocument &document() override { return m_document; }
    bool LoadDocument(const QString &file) override;
    bool SaveDocument(const QString &file) override;
    std::optional<PageSnapshot> readPage() override;
    bool savePage(const QString &file, const PageSnapshot &reading) override;
    bool SaveEffectsCopy(const QString &file, const QString &) override
    {
        return record("effectsCopy " + file);
    }
    void NewDocument() override { load({}); }
    void Refresh() override {}
    QString DocumentHTML() override;
    bool setDocumentHTML(const QString &html) override;
    QString preservedHTML() override;
    QString followedHTML() override;
    std::optional<QByteArray> unchangedOriginal() override { return original; }
    void openRecovered(const QString &html, const QString &file, const QByteArray &) override;
    int caretElement() override;
    void setFollowReports(bool on) override { m_followReports = on; }
    bool followReports() const { return m_followReports; }
    int reportedCaretElement() const override { return m_reported; }
    bool replaceElement(int ordinal, const QByteArray &name, const QString &markup,
                        const QString &pageText) override;
    void selectElement(int ordinal) override;
    std::optional<ScriptPresence> scriptPresence(const QString &mention) override;
    std::optional<std::vector<TextLook>> textLooks() override;
    void callLater(const QString &name, const QJsonArray &args,
                   std::function<void(const QVariant &)> answered) override;
    bool pasteHTML(const QString &fragment) override { return record("paste " + fragment); }
    bool setBgColor(const QString &colour) override { return record("bgColor " + colour); }
    bool setBodyAttributes(const QList<QPair<QString, QString>> &attributes) override;
    bool replaceReferences(const QHash<QString, QString> &) override
    {
        return record("references");
    }
    bool placeCaretAt(const QPoint &) override { return record("placeCaret"); }
    bool BrowseMode() const override { return m_browsing; }
    void setBrowseMode(bool browse) override;
    void setSpellChecking(bool on) override { m_spelling = on; }
    bool spellChecking() const override { return m_spelling; }
    Misspelling misspellingAtContextMenu() const override { return {}; }
    void replaceMisspelling(const QString &replacement) override
    {
        record("respell " + replacement);
    }
    void setEditingAid(EditingAid aid, bool shown) override { m_aids.insert(int(aid), shown); }
    bool editingAid(EditingAid aid) const override { return m_aids.value(int(aid)); }
    QString documentPath() const override { return path; }
    QByteArray documentEncoding() const override { return encoding; }
    QString lastError() const override { return error; }
    QString lastNotice() const override { return {}; }

private:
    // Records `call`; false when the page refuses changes.
    bool record(const QString &call);

    QHash<int, CommandStatus> m_statuses;
    QHash<int, bool> m_aids;
    int m_caret = -1;
    int m_reported = -1;
    bool m_followReports = false;
    bool m_browsing = false;
    bool m_spelling = false;
    PageDocument m_document;
};

} // namespace lumipage::test
