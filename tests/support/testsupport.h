#pragma once

#include "app/application.h"

#include <QApplication>
#include <QByteArray>
#include <QStandardPaths>
#include <QString>
#include <QTest>

#include <functional>

namespace lumipage
{
class EditingComponent;
}

namespace lumipage::test
{

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

// Runs `answer` on the next modal dialog as soon as it shows (polls up to 10 s).
void answerNextModal(std::function<void(QWidget *)> answer);
// Presses the button with `text` (or the standard button) in a message box.
void clickMessageBoxButton(QWidget *box, int standardButton);

} // namespace lumipage::test

// A QTest main that prepares the process for the editing surface first.
#define LUMIPAGE_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        lumipage::prepareProcess();                                                                \
        QApplication app(argc, argv);                                                              \
        QStandardPaths::setTestModeEnabled(true);                                                  \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
