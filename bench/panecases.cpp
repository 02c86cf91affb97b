// The source pane beside the page: typing with the pane following every key, the pane
// shown on a big page, the caret's element marked in the pane, and one element edited in
// the pane put on the page; each against the same work with the pane hidden.
#include "cases.h"

#include "benchsupport.h"

#include "commands/commandactions.h"
#include "app/mainwindow.h"
#include "platform/editing/editingcomponent.h"
#include "source/sourcepane.h"
#include "source/sourcepanecontroller.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace lumipage::bench
{

namespace
{

using Sci = QsciScintillaBase;

double elapsedUntil(QObject *sender, const char *signal, const std::function<void()> &work)
{
    QSignalSpy spy(sender, signal);
    QElapsedTimer timer;
    timer.start();
    work();
    if (spy.isEmpty())
        spy.wait(10000);
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

void sourcePaneCases(const QString &dir, const QString &only)
{
    // "source pane" runs them all; "pane typing", "pane caret", "pane edit", "pane shown" one.
    const QStringList rows = {
        QStringLiteral("source pane typing"), QStringLiteral("source pane caret"),
        QStringLiteral("source pane edit"), QStringLiteral("source pane shown")};
    const auto row = [&](int k) { return wanted(only, rows.at(k)); };
    if (!row(0) && !row(1) && !row(2) && !row(3))
        return;
    MainWindow window;
    window.show();
    EditingComponent *editor = window.editor();
    waitFor(editor, SIGNAL(DocumentComplete()));
    QAction *command = window.action(CommandId::SourcePane);
    SourcePane *pane = window.sourcePane();
    SourcePaneController *controller = pane->findChild<SourcePaneController *>();
    const auto showPane = [&](bool shown) {
        if (command->isChecked() != shown)
            command->trigger();
    };
    // The pane stands beside the page on both sides of a pair (a page made narrower or
    // wider is laid out anew, which would swamp what is timed); hidden, it does nothing.
    const auto following = [&](bool shown) {
        controller->setShown(shown);
        QCoreApplication::processEvents();
    };
    const auto open = [&](const QString &label, qsizetype bytes) {
        showPane(false);
        editor->LoadDocument(writePage(dir, QStringLiteral("pane") + label, bench::page(bytes)));
        waitFor(editor, SIGNAL(DocumentComplete()));
        return editor->findChild<QWebEngineView *>()->page();
    };

    QWebEnginePage *page = open(QStringLiteral("1MB"), 1024 * 1024);
    QWidget *surface = editor->findChild<QWebEngineView *>()->focusProxy();
    const QString toEnd = caretToEnd(), toStart = caretToStart();
    const auto onPage = [&] {
        surface->setFocus();
        evaluate(page, toEnd, QWebEngineScript::ApplicationWorld);
    };
    showPane(true);
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));

    // A key, until the page has reported and (shown) the pane shows it: the pane follows
    // every key here (no pause before it follows), the most it can cost.
    controller->setFollowDelay(0);
    int keys = 0;
    const auto key = [&](bool shown) {
        following(shown);
        onPage();
        QCoreApplication::processEvents();
        const char c = char('a' + keys++ % 26);
        return shown ? elapsedUntil(pane, SIGNAL(shown()), [&] { QTest::keyClick(surface, c); })
                     : elapsedUntil(editor, SIGNAL(DisplayChanged()),
                                    [&] { QTest::keyClick(surface, c); });
    };
    if (row(0))
        report("source pane: typing, per key until page and pane updated (bare: pane hidden)",
               QStringLiteral("1MB"),
               compare([&] { return key(true); }, [&] { return key(false); },
                       {.minPairs = 20, .maxPairs = 100}));

    // A caret move on the page until its element is marked in the pane (the marking runs
    // with the display report), the caret going between the first paragraph and the last
    // element. Timed once the reports of the move before have all come (untimed); shown,
    // until the pane's selection has moved, the report of this move and no other.
    int moves = 0;
    const auto move = [&](bool shown) {
        following(shown);
        QSignalSpy reports(editor, SIGNAL(DisplayChanged()));
        while (reports.wait(30)) {
        }
        const auto marked = [&] {
            return pane->editor()->SendScintilla(Sci::SCI_GETSELECTIONSTART);
        };
        const long before = marked();
        QElapsedTimer timer;
        timer.start();
        page->runJavaScript(moves++ % 2 ? toStart : toEnd, QWebEngineScript::ApplicationWorld);
        const QDeadlineTimer deadline(10000);
        while ((reports.isEmpty() || (shown && marked() == before)) && !deadline.hasExpired())
            reports.wait(10);
        return timer.nsecsElapsed() / 1e6;
    };
    if (row(1))
        report("source pane: caret move until its element is marked (bare: pane hidden)",
               QStringLiteral("1MB"),
               compare([&] { return move(true); }, [&] { return move(false); }));

    // One paragraph edited in the pane, put on the page as one step (undone untimed); bare:
    // the same words typed on the page with the pane hidden. Timed once the page has
    // answered a round trip after the pane took the focus (untimed): the page repaints
    // itself unfocused meanwhile, which the pane's second of rest before it applies
    // leaves behind in use.
    const QByteArray at = "段落 7 ";
    const auto edit = [&](bool shown) {
        following(shown);
        if (!shown) {
            onPage();
            QElapsedTimer timer;
            timer.start();
            editor->pasteHTML(QStringLiteral("<B>x</B>"));
            const double ms = timer.nsecsElapsed() / 1e6;
            editor->ExecCommand(decmd::UNDO, CommandOption::Prompt);
            return ms;
        }
        pane->editor()->setFocus();
        int line = 0, index = 0;
        pane->editor()->lineIndexFromPosition(int(pane->text().indexOf(at) + at.size()), &line,
                                              &index);
        pane->editor()->insertAt(QStringLiteral("<b>x</b>"), line, index);
        evaluate(page, "1");
        QElapsedTimer timer;
        timer.start();
        controller->applyTyped();
        const double ms = timer.nsecsElapsed() / 1e6;
        elapsedUntil(pane, SIGNAL(shown()),
                     [&] { editor->ExecCommand(decmd::UNDO, CommandOption::Prompt); });
        return ms;
    };
    if (row(2))
        report("source pane: one-element edit applied (bare: a paste on the page, pane hidden)",
               QStringLiteral("1MB"),
               compare([&] { return edit(true); }, [&] { return edit(false); }));

    // The pane shown on a big page, the first time since the page was opened: the file's
    // own text shown, the page asked only whether anything changed (its first change
    // followed reads it whole). The page opened anew before each, untimed, and left open
    // two seconds. Its time alone counts; bare: one round trip.
    if (!row(3))
        return;
    QWebEngineView *view = editor->findChild<QWebEngineView *>();
    const auto settled = [&] {
        // The page laid out at the view's new width, untimed: the resize has reached the
        // page and a layout forced there has ended.
        QDeadlineTimer deadline(30000);
        while (qRound(evaluate(page, "innerWidth * devicePixelRatio").toDouble()) !=
                   qRound(view->width() * view->devicePixelRatioF()) &&
               !deadline.hasExpired())
            QTest::qWait(20);
        evaluate(page, "document.body.getBoundingClientRect().height");
    };
    const auto show = [&] {
        page = open(QStringLiteral("5MB"), 5 * 1024 * 1024);
        settled();
        QTest::qWait(2000);
        QElapsedTimer timer;
        timer.start();
        showPane(true);
        QCoreApplication::processEvents();
        const double ms = timer.nsecsElapsed() / 1e6;
        settled();
        return ms;
    };
    report("source pane: shown first on an opened page (bare: one round trip)",
           QStringLiteral("5MB"),
           compare(show, timed([&] { evaluate(page, "1"); }),
                   {.minPairs = 3, .maxPairs = 3, .seconds = 600}));
    showPane(false);
}

} // namespace lumipage::bench
