#include "support/testsupport.h"

#include "platform/editing/webengineeditingcomponent.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEngineView>

namespace lumipage::test
{

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

QVariant evalInPage(QWebEngineView *view, const QString &script, int timeoutMs)
{
    if (!view)
        return {};
    auto result = std::make_shared<QVariant>();
    auto done = std::make_shared<bool>(false);
    view->page()->runJavaScript(script, [result, done](const QVariant &v) {
        *result = v;
        *done = true;
    });
    if (!QTest::qWaitFor([&] { return *done; }, timeoutMs))
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

void answerNextModal(std::function<void(QWidget *)> answer, QPointer<QWidget> over)
{
    auto *timer = new QTimer;
    auto started = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, started, over] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != over.data()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        } else if (++*started > 1000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
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

} // namespace lumipage::test
