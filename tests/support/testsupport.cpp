#include "support/testsupport.h"

#include "platform/editing/editingcomponent.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

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

void answerNextModal(std::function<void(QWidget *)> answer)
{
    auto *timer = new QTimer;
    auto started = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, answer, started] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
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
