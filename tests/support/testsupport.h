#pragma once

#include "app/application.h"

#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QString>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

namespace lumipage
{
class EditingComponent;
class WebEngineEditingComponent;
} // namespace lumipage

class QComboBox;
class QWebEngineView;

namespace lumipage::test
{

// Chooses `item` in `list` as a user does (current item, then `activated`); false when
// the list has no such item.
bool choose(QComboBox &list, const QString &item);

// Path of a file in tests/data.
QString dataFile(const QString &name);
// Reads / writes a whole file.
QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);

// Waits for the next DocumentComplete of `editor`; false on timeout.
bool waitForComplete(EditingComponent &editor, int timeoutMs = 20000);
// Loads a file and waits until the page is ready.
bool loadAndWait(EditingComponent &editor, const QString &path);
// Sets the page text and waits until it is ready.
bool setHtmlAndWait(EditingComponent &editor, const QString &html);
// Waits for the next DisplayChanged (the status snapshot is fresh afterwards).
bool waitForDisplayChanged(EditingComponent &editor, int timeoutMs = 5000);

// A shown editing component whose empty page is ready.
std::unique_ptr<WebEngineEditingComponent> shownEditor();
// Wires the effects transform into `editor`, as the main window does, with the runtime
// published as `__lumipageEffects` so that tests can look into it.
void playEffects(WebEngineEditingComponent &editor);
// Replaces the page by one whose body is `body` and waits until it is ready.
bool setBody(EditingComponent &editor, const QString &body);
// The text between <BODY> and </BODY> of the page.
QString bodyOf(EditingComponent &editor);
// Selects characters [start, end) of the element `id` (a caret when equal) and waits
// for the display change that follows.
bool selectIn(WebEngineEditingComponent &editor, const QString &id, int start, int end);

// Clicks the editing page at `at` (in the surface's coordinates) and waits until the page
// has taken the whole click, so that what comes next (a caret set by the program, keys)
// comes after it; false when the click never arrives.
bool clickPage(WebEngineEditingComponent &editor, const QPoint &at);
// Drags with the left button from `from` by `by` (in the surface's coordinates, in five
// moves) and waits until the page has taken the release; false when it never arrives.
bool dragPage(WebEngineEditingComponent &editor, const QPoint &from, const QPoint &by);

// The view the user sees while browse mode lasts; null outside browse mode.
QWebEngineView *browseView(WebEngineEditingComponent &editor);
// Evaluates `script` in the main world of the page `view` shows (where the page's own
// scripts run), or in `world`; an invalid value when it does not answer in time.
QVariant evalInPage(QWebEngineView *view, const QString &script, int timeoutMs = 5000,
                    quint32 world = 0);

// Runs `answer` on the next modal dialog as soon as it shows (polls up to 10 s); with
// `over`, on the next one shown over that dialog. The answerer belongs to the test
// function that armed it: it never acts in a later one. When a check inside `answer`
// fails, every open modal dialog is closed, so no exec() is left waiting.
void answerNextModal(std::function<void(QWidget *)> answer, QPointer<QWidget> over = {});
// Runs `act` on `dialog` once it is the active modal widget again (for example after a
// message box over it has been answered); the same rules as answerNextModal.
void whenModalAgain(QPointer<QWidget> dialog, std::function<void(QWidget *)> act);
// Closes every open modal dialog (the innermost first).
void closeModals();
// Answers the message boxes that come next, in order, with `buttons`; the list that is
// returned fills with their texts as they are answered.
std::shared_ptr<QStringList> answerBoxes(QList<QMessageBox::StandardButton> buttons);
// Presses the button with `text` (or the standard button) in a message box.
void clickMessageBoxButton(QWidget *box, int standardButton);

// Waits until `signal` of `sender` has not come for `quietMs` (at most 20 times over): work
// asked for earlier, still under way, has landed.
template <typename Sender, typename Signal>
bool waitUntilQuiet(const Sender *sender, Signal signal, int quietMs = 300)
{
    QSignalSpy spy(sender, signal);
    for (int k = 0; k < 20 && spy.wait(quietMs); ++k)
        spy.clear();
    return true;
}

} // namespace lumipage::test

namespace lumipage::test
{
// Paces a wait that looks at a condition again and again: after each look it lets the
// window handle what arrived, for at least 2 ms and at least as long as the look took, so
// that a look which asks the page something never keeps the page from going on.
class Poll
{
public:
    Poll() { m_clock.start(); }
    // Marks the start of a look; true, so that it can stand in a condition.
    bool look()
    {
        m_look = m_clock.elapsed();
        return true;
    }
    // Waits after a look; the time since the poll began.
    int pause()
    {
        QTest::qWait(int(std::max<qint64>(2, m_clock.elapsed() - m_look)));
        return int(m_clock.elapsed());
    }

private:
    QElapsedTimer m_clock;
    qint64 m_look = 0;
};

// Waits until `done` holds; false when `timeoutMs` passes first.
bool waitFor(const std::function<bool()> &done, int timeoutMs = 5000);

// Lets the event loop run what is due by now, twice over: the events posted and the
// zero-interval timers started before, then what they started in turn. For checks that a
// controller, whose work waits for the next turn, did nothing.
void settle();
} // namespace lumipage::test

// Qt's QTRY_ macros look at their condition only every 50 ms and sleep in between, while
// the engine answers in a millisecond or two: most of the suite's time went into those
// sleeps. Here they look again at the pace of a Poll. The macros that use these two
// (QTRY_VERIFY, QTRY_COMPARE...) keep their meaning and their messages.
#undef QTRY_LOOP_IMPL
#define QTRY_LOOP_IMPL(expr, timeoutValue, step)                                                   \
    int qt_test_i = 0;                                                                             \
    for (lumipage::test::Poll qt_test_poll;                                                        \
         qt_test_i < (timeoutValue) && !(QTest::runningTest() && QTest::currentTestFailed()) &&    \
         qt_test_poll.look() && !(expr);                                                           \
         qt_test_i = qt_test_poll.pause()) {                                                       \
    }
#undef QTRY_IMPL
#define QTRY_IMPL(expr, timeout)                                                                   \
    const int qt_test_timeoutValue = timeout;                                                      \
    {QTRY_LOOP_IMPL(expr, qt_test_timeoutValue, 0)} QTRY_TIMEOUT_DEBUG_IMPL(                       \
        expr, qt_test_timeoutValue, 0)

namespace lumipage::test
{
// Settings of this test run alone: test programs run side by side, and one that turns an
// option off for a moment must not turn it off for another starting its window then.
void useSettingsOfThisRun();
} // namespace lumipage::test

// A QTest main that prepares the process for the editing surface first.
#define LUMIPAGE_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        lumipage::prepareProcess();                                                                \
        QApplication app(argc, argv);                                                              \
        lumipage::nameApplication();                                                               \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        lumipage::test::useSettingsOfThisRun();                                                    \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
