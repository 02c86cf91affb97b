#include "check/pagecheckcontroller.h"

#include "check/finders/spelling.h"
#include "check/pagecheck.h"
#include "check/pagecheckpanel.h"
#include "check/spellingsetting.h"
#include "commands/commandactions.h"
#include "platform/editing/editingcomponent.h"
#include "source/sourcepanecontroller.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMainWindow>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

namespace lumipage
{

namespace
{
// The findings and the worker's time.
QList<check::PageFinding> timedCheck(const PageCheckInput &input, qint64 *elapsed)
{
    QElapsedTimer clock;
    clock.start();
    QList<check::PageFinding> findings = findProblems(input);
    *elapsed = clock.elapsed();
    return findings;
}
} // namespace

PageCheckController::PageCheckController(QMainWindow &window, EditingComponent &editor,
                                         CommandActions &actions, SourcePaneController &sourcePane)
    : QObject(&window), m_editor(editor), m_sourcePane(sourcePane),
      m_spelling(std::make_shared<check::EnglishSpelling>())
{
    m_panel = new PageCheckPanel(&window);
    window.addDockWidget(Qt::BottomDockWidgetArea, m_panel);
    m_panel->hide();
    m_soon.setSingleShot(true);
    m_soon.setInterval(0);
    connect(&m_soon, &QTimer::timeout, this, &PageCheckController::check);

    actions.setHandler(CommandId::PageCheck, [this] {
        m_panel->show();
        m_panel->raise();
        request();
    });
    connect(m_panel, &PageCheckPanel::recheckRequested, this, &PageCheckController::request);
    connect(m_panel, &PageCheckPanel::findingActivated, this, &PageCheckController::activate);
    connect(&m_watcher, &QFutureWatcherBase::finished, this, &PageCheckController::finished);

    // A page opened or saved is checked again while the panel is shown.
    connect(&editor, &EditingComponent::pageBegun, this, [this] { ++m_page; });
    connect(&editor, &EditingComponent::DocumentComplete, this, [this] {
        if (std::exchange(m_afterBrowse, false) && !m_editor.BrowseMode())
            request();
    });
}

PageCheckController::~PageCheckController() = default;

void PageCheckController::pageSettled()
{
    if (m_panel->isVisible())
        request();
}

void PageCheckController::request()
{
    m_soon.start();
}

void PageCheckController::check()
{
    // One check at a time: a request while the page is read or checked comes after it.
    if (m_watcher.isRunning() || m_reading) {
        m_again = true;
        return;
    }
    if (m_editor.BrowseMode()) {
        m_afterBrowse = true; // browse mode shows a copy; the page itself is back soon
        return;
    }
    m_started = QDateTime::currentMSecsSinceEpoch();
    m_checkedPage = m_page;
    m_reading = true;
    // The page is read through callbacks: the window goes on meanwhile.
    m_editor.preservedHTMLLater([this, self = QPointer(this)](std::optional<QString> text) {
        if (!self)
            return;
        if (!text) {
            m_reading = false;
            m_panel->showFailure(m_editor.lastError().isEmpty()
                                     ? tr("ページを読み取れませんでした。")
                                     : m_editor.lastError());
            return;
        }
        m_editor.textLooksLater([this, self, text = std::move(*text)](
                                    std::optional<std::vector<EditingComponent::TextLook>> looks) {
            if (self)
                startCheck(text, looks.value_or(std::vector<EditingComponent::TextLook>{}));
        });
    });
}

void PageCheckController::startCheck(const QString &text,
                                     const std::vector<EditingComponent::TextLook> &looks)
{
    m_reading = false;
    PageCheckInput input;
    input.text = text;
    const QString path = m_editor.documentPath();
    input.folder = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
    input.encoding = path.isEmpty() ? QByteArray("UTF-8") : m_editor.documentEncoding();
    for (const EditingComponent::TextLook &look : looks)
        input.colours << check::TextColours{look.colour, look.background, look.fontSize,
                                            look.fontWeight, look.elements};
    if (spelling::enabled())
        input.spelling = m_spelling;
    m_readTime = QDateTime::currentMSecsSinceEpoch() - m_started;
    m_panel->showChecking();
    m_watcher.setFuture(
        QtConcurrent::run([input, elapsed = &m_workerTime] { return timedCheck(input, elapsed); }));
}

void PageCheckController::finished()
{
    m_totalTime = QDateTime::currentMSecsSinceEpoch() - m_started;
    // Findings of a page that has gone since would select elements of another.
    if (m_checkedPage == m_page)
        m_panel->showFindings(m_watcher.result());
    if (std::exchange(m_again, false) || m_checkedPage != m_page) {
        check();
        return;
    }
    emit checked();
}

void PageCheckController::activate(const check::PageFinding &finding)
{
    if (finding.ordinal < 0)
        return;
    m_editor.selectElement(finding.ordinal);
    m_sourcePane.markElement(finding.ordinal);
    m_editor.setFocus();
}

} // namespace lumipage
