#pragma once

#include "check/finders/pagefinding.h"

#include "platform/editing/editingcomponent.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <memory>

class QMainWindow;

namespace lumipage
{

namespace check
{
class EnglishSpelling;
}
class CommandActions;
class EditingComponent;
class PageCheckPanel;
class SourcePaneController;

// ページの点検…: shows the check panel docked in the window and keeps it filled. The page
// is checked when the command is given, when 「再点検」 is pressed, and, while the panel
// is shown, when a page is opened or saved. The page is read on the window's thread in
// two trips (the text a save would write, the colours of its text); the finders run on a
// worker thread, so that editing goes on meanwhile. Lines are lines of the text a save
// would write now: the file's own lines for a page opened and not edited, those the
// next save will give a page with unsaved edits (and the source pane's numbers either
// way). Activating a finding selects its element on the page and marks it in the source
// pane when the pane is shown. The panel belongs to the window.
class PageCheckController : public QObject
{
    Q_OBJECT
public:
    PageCheckController(QMainWindow &window, EditingComponent &editor, CommandActions &actions,
                        SourcePaneController &sourcePane);
    ~PageCheckController() override;

    PageCheckPanel *panel() const { return m_panel; }
    // The page was just opened or saved: checked again while the panel is shown.
    void pageSettled();
    // How long the last check read the page on the window's thread (the time editing
    // waits), worked on the worker thread, and took in all, in milliseconds.
    qint64 lastReadTime() const { return m_readTime; }
    qint64 lastWorkerTime() const { return m_workerTime; }
    qint64 lastTotalTime() const { return m_totalTime; }

signals:
    // A check finished and its findings are shown.
    void checked();

private:
    void request();
    void check();
    // The page was read: its findings are looked for on a worker.
    void startCheck(const QString &text, const std::vector<EditingComponent::TextLook> &looks);
    void finished();
    void activate(const check::PageFinding &finding);

    EditingComponent &m_editor;
    SourcePaneController &m_sourcePane;
    PageCheckPanel *m_panel = nullptr;
    QTimer m_soon; // gathers requests made in one turn of the event loop
    QFutureWatcher<QList<check::PageFinding>> m_watcher;
    std::shared_ptr<check::EnglishSpelling> m_spelling;
    quint64 m_page = 0;         // counts pages begun, so findings of an earlier page are dropped
    quint64 m_checkedPage = 0;  // the page the running check reads
    bool m_again = false;       // asked again while a check was running
    bool m_reading = false;     // the page is being read for a check
    bool m_afterBrowse = false; // asked in browse mode: checked on return to editing
    qint64 m_started = 0;
    qint64 m_readTime = 0;
    qint64 m_workerTime = 0;
    qint64 m_totalTime = 0;
};

} // namespace lumipage
