// The main window at work on an open page: the state refresh after a caret move, typing,
// and the fragment paste, each against the bare engine in design mode.
#include "cases.h"

#include "benchsupport.h"

#include "app/mainwindow.h"
#include "insert/insertioncontroller.h"
#include "platform/editing/editingcomponent.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace lumipage::bench
{

void windowCases(const QString &dir, const QString &only)
{
    if (!wanted(only, "refresh typing paste"))
        return;
    MainWindow window;
    window.show();
    EditingComponent *editor = window.editor();
    waitFor(editor, SIGNAL(DocumentComplete()));
    QWebEngineView bare;
    bare.resize(900, 600);
    bare.show();
    const QString toEnd = caretToEnd();
    const QString toStart = caretToStart();

    for (const auto &[label, bytes] : pageSizes()) {
        const QString path = writePage(dir, QStringLiteral("window") + label, bench::page(bytes));
        editor->LoadDocument(path);
        waitFor(editor, SIGNAL(DocumentComplete()));
        // The widget that takes input is made anew with each page's renderer.
        QWebEnginePage *page = editor->findChild<QWebEngineView *>()->page();
        bareLoad(bare, path);
        evaluate(bare.page(), "document.designMode = 'on'");

        // A caret move: the page reports, the main window refreshes every command's state;
        // the moves go to the end and back to the start in turn. On the page with the
        // keyboard focus, as the user moves the caret (without it a move costs a few ms at
        // every size; with it the cost grows with the page). Timed with the engine's
        // spelling checker off, and again, from 1 MB, with it on as users have it.
        if (wanted(only, "refresh")) {
            QTest::mouseClick(editor->findChild<QWebEngineView *>()->focusProxy(), Qt::LeftButton,
                              {}, QPoint(20, 20));
            int moves = 0;
            const Trial ours = [&] {
                QSignalSpy changed(editor, SIGNAL(DisplayChanged()));
                QElapsedTimer timer;
                timer.start();
                page->runJavaScript(moves++ % 2 ? toStart : toEnd,
                                    QWebEngineScript::ApplicationWorld);
                changed.wait(10000);
                return timer.nsecsElapsed() / 1e6;
            };
            const Trial roundTrip = timed([&] { evaluate(bare.page(), "1"); });
            const bool spelling = editor->spellChecking();
            editor->setSpellChecking(false);
            report("caret move to state refresh done vs one round trip", label,
                   compare(ours, roundTrip));
            editor->setSpellChecking(true);
            if (bytes >= 1024 * 1024)
                report("caret move to state refresh done, spelling checked (bare: one round trip)",
                       label, compare(ours, roundTrip));
            editor->setSpellChecking(spelling);
        }

        // Typing: each key until the page has reported and the window has refreshed.
        if (wanted(only, "typing") && bytes <= 1024 * 1024) {
            QWidget *surface = editor->findChild<QWebEngineView *>()->focusProxy();
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));
            evaluate(page, toEnd, QWebEngineScript::ApplicationWorld);
            QTest::mouseClick(bare.focusProxy(), Qt::LeftButton, {}, QPoint(20, 20));
            evaluate(bare.page(), toEnd);
            int keys = 0;
            const Trial ours = [&] {
                QSignalSpy changed(editor, SIGNAL(DisplayChanged()));
                QElapsedTimer timer;
                timer.start();
                QTest::keyClick(surface, char('a' + keys % 26));
                changed.wait(10000);
                return timer.nsecsElapsed() / 1e6;
            };
            const Trial plain = timed([&] {
                QTest::keyClick(bare.focusProxy(), char('a' + keys++ % 26));
                evaluate(bare.page(), "1");
            });
            report("typing, per keystroke until refreshed", label,
                   compare(ours, plain, {.minPairs = 30, .maxPairs = 200}));
        }

        // One fragment paste through the paste road.
        if (wanted(only, "paste") && label == QLatin1String("1MB")) {
            const QString fragment = QStringLiteral(
                "<MARQUEE behavior=Scroll direction=Left>文字を入力してください。</MARQUEE>");
            evaluate(page, toEnd, QWebEngineScript::ApplicationWorld);
            evaluate(bare.page(), toEnd);
            const QString barePaste =
                QStringLiteral("document.execCommand('insertHTML', false, '%1')").arg(fragment);
            report("veld_go paste vs insertHTML", label,
                   compare(timed([&] { window.insertion().pasteFragment(fragment); }),
                           timed([&] { evaluate(bare.page(), barePaste); })));
        }
    }
}

} // namespace lumipage::bench
