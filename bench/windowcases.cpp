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

namespace
{
// Gives `widget` the keyboard focus, and so its page the engine's focus, unless it has
// it; then lets the engine's own work on the focus change settle.
void giveFocus(QWidget &widget)
{
    if (widget.hasFocus())
        return;
    widget.window()->activateWindow();
    widget.setFocus(Qt::MouseFocusReason);
    QTest::qWait(50);
}
} // namespace

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

    for (const auto &[label, bytes] : pageSizes()) {
        const QString path = writePage(dir, QStringLiteral("window") + label, bench::page(bytes));
        editor->LoadDocument(path);
        waitFor(editor, SIGNAL(DocumentComplete()));
        // The widget that takes input is made anew with each page's renderer.
        QWebEnginePage *page = editor->findChild<QWebEngineView *>()->page();
        bareLoad(bare, path);
        evaluate(bare.page(), "document.designMode = 'on'");

        // A caret move as the user makes it: an arrow key on the page that has the keyboard
        // focus, until the main window has refreshed every command's state; beside it the
        // same key on the bare engine's focused page, until a round trip comes back after
        // it. Each side is given the focus untimed before its trial (a focused editable
        // page costs the engine work per caret move that grows with the page; an unfocused
        // one takes no keys). Timed with the engine's spelling checker off, and again,
        // from 1 MB, with it on as users have it.
        if (wanted(only, "refresh")) {
            QWidget *surface = editor->findChild<QWebEngineView *>()->focusProxy();
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));
            waitFor(editor, SIGNAL(DisplayChanged()));
            QTest::mouseClick(bare.focusProxy(), Qt::LeftButton, {}, QPoint(20, 20));
            int moves = 0;
            const Trial ours =
                timed([&] { giveFocus(*surface); },
                      [&] {
                          QSignalSpy changed(editor, SIGNAL(DisplayChanged()));
                          QTest::keyClick(surface, moves++ % 2 ? Qt::Key_Left : Qt::Key_Right);
                          changed.wait(10000);
                      });
            int bareMoves = 0;
            const Trial plain =
                timed([&] { giveFocus(*bare.focusProxy()); },
                      [&] {
                          QTest::keyClick(bare.focusProxy(),
                                          bareMoves++ % 2 ? Qt::Key_Left : Qt::Key_Right);
                          evaluate(bare.page(), "1");
                      });
            const bool spelling = editor->spellChecking();
            editor->setSpellChecking(false);
            report("caret key to state refresh done vs the bare engine's caret key", label,
                   compare(ours, plain));
            editor->setSpellChecking(true);
            if (bytes >= 1024 * 1024)
                report("caret key to state refresh done, spelling checked", label,
                       compare(ours, plain));
            editor->setSpellChecking(spelling);
        }

        // Typing: each key until the page has reported and the window has refreshed.
        if (wanted(only, "typing")) {
            QWidget *surface = editor->findChild<QWebEngineView *>()->focusProxy();
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));
            evaluate(page, toEnd, QWebEngineScript::ApplicationWorld);
            QTest::mouseClick(bare.focusProxy(), Qt::LeftButton, {}, QPoint(20, 20));
            evaluate(bare.page(), toEnd);
            // Each side types on the page that has the focus, as the user does.
            int keys = 0;
            const Trial ours = timed([&] { giveFocus(*surface); },
                                     [&] {
                                         QSignalSpy changed(editor, SIGNAL(DisplayChanged()));
                                         QTest::keyClick(surface, char('a' + keys % 26));
                                         changed.wait(10000);
                                     });
            const Trial plain =
                timed([&] { giveFocus(*bare.focusProxy()); },
                      [&] {
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
