#pragma once

#include "platform/markup/cssedits.h"
#include "styles/linkedsheets.h"
#include "styles/stylecascade.h"

#include <QDateTime>
#include <QJsonObject>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

class QAction;
class QMainWindow;

namespace lumipage
{

class EditingComponent;
class StylePanel;

// スタイル: the style panel docked in the window, shown and hidden by the checkable
// command `toggle` (remembered between runs), kept filled while shown. The page is asked
// without waiting (one call, gathered over caret moves that come in a burst), so moving
// the caret never waits for the panel. An entered value is checked by our reading
// (nothing that reaches beyond the declaration) and by the engine (CSS.supports), then
// written where it stands: the style attribute and a style element's text change on the
// page as one undo step; a linked or imported sheet's file is written at once (atomically,
// in its own encoding, only that declaration's bytes) and shown on the page through the
// engine's reading of the sheet, and the edit is a step of the page's undo history too:
// undone or redone there, the file is written back (only while it holds what the edit
// left) and the page shows it. The panel belongs to the window.
class StyleController : public QObject
{
    Q_OBJECT
public:
    StyleController(QMainWindow &window, EditingComponent &editor, QAction &toggle);

    StylePanel *panel() const { return m_panel; }
    // Shows or hides the panel (the command's handler), remembered between runs.
    void setShown(bool shown);

signals:
    // The panel shows the caret's element as the page has it now.
    void filled();
    // The page shows an entered value (its file, for a linked sheet, is written next).
    void shownOnPage();
    // An entered value was written (or refused: the panel says why).
    void edited(bool written);

private:
    void request();
    void ask();
    void answered(const QVariant &answer, quint64 asked);
    std::optional<styles::SheetSource> readSheet(int index, const QVariantMap &sheet);
    std::optional<styles::SheetSource> readSheetText(const QVariantMap &sheet);
    void enter(int row, const QString &value);
    void write(const styles::StyleRow &row, const QString &value);
    void finish(bool written, const QString &message);
    QString pageFolder() const;
    int styleElementLine(int styleIndex);

    // One write of a linked sheet, a step of the page's undo history: the bytes before and
    // after, what takes the engine's reading of the sheet back (the rule, property, value)
    // and what makes the change in it again.
    struct SheetEdit {
        QString path;
        QByteArray before, after;
        QJsonObject engine;
        QJsonObject apply;
    };
    // Shows `apply` on the page as a step of its history, then writes the linked sheet's
    // edit `edit` ([start, end) becomes `text`); a write that fails takes the page's
    // change and its step back again.
    void showAndWrite(SheetEdit edit, QJsonObject apply, const css::Edit &change);
    // Asks the page which sheet steps its undo or redo took (when there are any).
    void takeSteps();
    void stepsTaken(const QVariant &answer);
    // An edit of a row's declaration: the text change, and for a linked sheet the same
    // change in the engine's reading of it (a null value: the property goes).
    struct Change {
        std::function<css::Edit(const QString &text, const css::DeclarationBlock &block,
                                const css::Declaration &declaration)>
            edit;
        QString property;
        QJsonValue value;
        bool important = false;
        bool added = false; // a new declaration: taken back by removing the property
        bool typed = false; // a value typed by the user: the engine must take it
    };
    void switchRow(int row);
    void removeRow(int row);
    void addToRow(int row, const QString &typed);
    void addRule(int sheet, const QString &typed);
    // Goes on with `then` when the engine takes `value` for `property`; else says so.
    // What the page's apply checks first: the engine takes `value` for `property`
    // (CSS.supports); nothing is changed or written otherwise.
    static QJsonObject supports(const QString &property, const QString &value);
    void change(const styles::StyleRow &row, const Change &change);
    // Applies `apply` on the page; then `written` (when given) writes what the page shows
    // and says why it could not (the page's change is then taken back with `back`).
    void show(const QJsonObject &apply, std::function<QString()> written = {},
              const QJsonObject &back = {});
    // The bytes of the sheet at `path` as just written, for the panel's undo.
    QByteArray writtenBytes(const QString &path);

    EditingComponent &m_editor;
    QAction &m_toggle;
    StylePanel *m_panel = nullptr;
    LinkedSheets m_sheets;
    QTimer m_soon;            // gathers the caret moves of one burst into one request
    quint64 m_asked = 0;      // counts requests, so an answer overtaken by a newer is dropped
    bool m_waiting = false;   // a request is out
    bool m_again = false;     // asked again meanwhile
    QVariantMap m_answer;     // the page's last answer
    QString m_pageText;       // the page's file, for the lines of its style elements
    QDateTime m_pageTextTime; // when that file was changed
    QHash<QString, std::shared_ptr<const styles::ParsedText>> m_parsed; // by file or element
    QHash<int, SheetEdit> m_steps; // the writes of linked sheets in the page's history
    int m_lastStep = 0;
    bool m_taking = false;    // the page is being asked for the steps taken
    bool m_takeAgain = false; // and asked again meanwhile
};

} // namespace lumipage
