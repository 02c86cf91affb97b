#include "support/testsupport.h"

#include "platform/editing/webengineeditingcomponent.h"
#include "platform/effects/effectspage.h"

#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace lumipage::test
{

void useSettingsOfThisRun()
{
    static QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
}

bool choose(QComboBox &list, const QString &item)
{
    const int index = list.findText(item);
    if (index < 0)
        return false;
    list.setCurrentIndex(index);
    emit list.activated(index);
    return true;
}

QString dataFile(const QString &name)
{
    return QStringLiteral(LUMIPAGE_TEST_DATA "/") + name;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

bool waitForComplete(EditingComponent &editor, int timeoutMs)
{
    QSignalSpy spy(&editor, &EditingComponent::DocumentComplete);
    return spy.wait(timeoutMs);
}

bool loadAndWait(EditingComponent &editor, const QString &path)
{
    QSignalSpy spy(&editor, &EditingComponent::DocumentComplete);
    if (!editor.LoadDocument(path))
        return false;
    return spy.wait(20000);
}

bool setHtmlAndWait(EditingComponent &editor, const QString &html)
{
    QSignalSpy spy(&editor, &EditingComponent::DocumentComplete);
    if (!editor.setDocumentHTML(html))
        return false;
    return spy.wait(20000);
}

bool waitForDisplayChanged(EditingComponent &editor, int timeoutMs)
{
    QSignalSpy spy(&editor, &EditingComponent::DisplayChanged);
    return spy.wait(timeoutMs);
}

std::unique_ptr<WebEngineEditingComponent> shownEditor()
{
    auto editor = std::make_unique<WebEngineEditingComponent>();
    editor->resize(800, 600);
    editor->show();
    if (!waitForComplete(*editor))
        qWarning("the empty page did not load");
    return editor;
}

void playEffects(WebEngineEditingComponent &editor)
{
    editor.setPageTransform(effectsTransform(RuntimeHandle::Published));
}

QWebEngineView *browseView(WebEngineEditingComponent &editor)
{
    if (!editor.BrowseMode())
        return nullptr;
    const auto views = editor.findChildren<QWebEngineView *>();
    for (QWebEngineView *view : views)
        if (view->isVisible())
            return view;
    return nullptr;
}

bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    for (Poll poll; poll.look() && !done();)
        if (poll.pause() >= timeoutMs)
            return done();
    return true;
}

void settle()
{
    for (int turn = 0; turn < 2; ++turn) {
        bool done = false;
        QTimer::singleShot(0, [&done] { done = true; }); // after the timers already due
        waitFor([&done] { return done; });
    }
}

QVariant evalInPage(QWebEngineView *view, const QString &script, int timeoutMs, quint32 world)
{
    if (!view)
        return {};
    auto result = std::make_shared<QVariant>();
    auto done = std::make_shared<bool>(false);
    view->page()->runJavaScript(script, world, [result, done](const QVariant &v) {
        *result = v;
        *done = true;
    });
    if (!waitFor([&] { return *done; }, timeoutMs))
        return {};
    return *result;
}

bool setBody(EditingComponent &editor, const QString &body)
{
    return setHtmlAndWait(editor, QStringLiteral("<HTML><HEAD></HEAD><BODY>") + body +
                                      QStringLiteral("</BODY></HTML>"));
}

QString bodyOf(EditingComponent &editor)
{
    const QString html = editor.DocumentHTML();
    const qsizetype start = html.indexOf(QLatin1String("<BODY>")) + 6;
    return html.mid(start, html.indexOf(QLatin1String("</BODY>")) - start);
}

bool selectIn(WebEngineEditingComponent &editor, const QString &id, int start, int end)
{
    QSignalSpy spy(&editor, &EditingComponent::DisplayChanged);
    const auto result = editor.call(QStringLiteral("selectInElement"), {id, start, end});
    return result.ok && result.value.toBool() && spy.wait(5000);
}

void closeModals()
{
    for (int guard = 0; guard < 20; ++guard) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

namespace
{

// Polls every 10 ms, up to 10 s, for `ready` to give a widget, then runs `act` on it.
// Stops when the test function that armed it has ended or failed.
void pollForModal(std::function<QWidget *()> ready, std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    auto ticks = std::make_shared<int>(0);
    const QByteArray armedIn = QTest::currentTestFunction();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, ready, act, ticks, armedIn] {
        const bool sameTest = armedIn == QByteArray(QTest::currentTestFunction());
        if (!sameTest || QTest::currentTestFailed() || ++*ticks > 1000) {
            timer->stop();
            timer->deleteLater();
            return;
        }
        QWidget *widget = ready();
        if (!widget)
            return;
        timer->stop();
        timer->deleteLater();
        act(widget);
        if (QTest::currentTestFailed())
            closeModals(); // a failed check: nothing may be left waiting in exec()
    });
    timer->start(10);
}

} // namespace

void answerNextModal(std::function<void(QWidget *)> answer, QPointer<QWidget> over)
{
    pollForModal(
        [over]() -> QWidget * {
            QWidget *modal = QApplication::activeModalWidget();
            return modal && modal != over.data() ? modal : nullptr;
        },
        std::move(answer));
}

void whenModalAgain(QPointer<QWidget> dialog, std::function<void(QWidget *)> act)
{
    pollForModal(
        [dialog]() -> QWidget * {
            return dialog && QApplication::activeModalWidget() == dialog.data() ? dialog.data()
                                                                                : nullptr;
        },
        std::move(act));
}

namespace
{
void armAnswers(QList<QMessageBox::StandardButton> rest, std::shared_ptr<QStringList> texts)
{
    if (rest.isEmpty())
        return;
    answerNextModal([rest, texts](QWidget *w) mutable {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box)
            return;
        *texts << box->text();
        const auto button = rest.takeFirst();
        armAnswers(rest, texts);
        box->button(button)->click();
    });
}
} // namespace

std::shared_ptr<QStringList> answerBoxes(QList<QMessageBox::StandardButton> buttons)
{
    auto texts = std::make_shared<QStringList>();
    armAnswers(std::move(buttons), texts);
    return texts;
}

void clickMessageBoxButton(QWidget *box, int standardButton)
{
    auto *messageBox = qobject_cast<QMessageBox *>(box);
    QVERIFY(messageBox);
    QAbstractButton *button =
        messageBox->button(static_cast<QMessageBox::StandardButton>(standardButton));
    QVERIFY(button);
    button->click();
}

namespace
{
// How many mouseups the page has had since it loaded, counted in the runtime's world
// (page scripts are off while editing).
int mouseUps(QWebEngineView *view)
{
    const QString count = QStringLiteral(
        "(() => { if (window.__mouseUps === undefined) { window.__mouseUps = 0;"
        " window.addEventListener('mouseup', () => { ++window.__mouseUps; }, true); }"
        " return window.__mouseUps; })()");
    return evalInPage(view, count, 5000, QWebEngineScript::ApplicationWorld).toInt();
}
} // namespace

bool clickPage(WebEngineEditingComponent &editor, const QPoint &at)
{
    auto *view = editor.findChild<QWebEngineView *>();
    const int before = mouseUps(view);
    QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, at);
    return waitFor([&] { return mouseUps(view) > before; }, 5000);
}

bool dragPage(WebEngineEditingComponent &editor, const QPoint &from, const QPoint &by)
{
    auto *view = editor.findChild<QWebEngineView *>();
    QWidget *target = view->focusProxy();
    const int before = mouseUps(view);
    // The page takes events in the order they were sent: no pause is needed between them.
    QTest::mousePress(target, Qt::LeftButton, {}, from);
    for (int i = 1; i <= 5; ++i) {
        const QPoint at = from + by * i / 5;
        QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }
    QTest::mouseRelease(target, Qt::LeftButton, {}, from + by);
    return waitFor([&] { return mouseUps(view) > before; }, 5000);
}

} // namespace lumipage::test
