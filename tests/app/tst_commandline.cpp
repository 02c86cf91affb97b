// The command-line modes.
#include "app/commandline.h"

#include <QDir>
#include <QTest>

using namespace lumipage;

class TestCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void modes()
    {
        QString error;
        auto plain = parseCommandLine({}, &error);
        QVERIFY(plain && plain->mode == CommandLine::Mode::Edit && plain->file.isEmpty());

        auto open = parseCommandLine({"page.htm"}, &error);
        QCOMPARE(open->file, QDir::current().absoluteFilePath("page.htm"));

        auto shot = parseCommandLine({"--screenshot", "a.png", "b.htm"}, &error);
        QVERIFY(shot && shot->mode == CommandLine::Mode::Screenshot);
        QCOMPARE(shot->screenshot, QDir::current().absoluteFilePath("a.png"));
        QCOMPARE(shot->file, QDir::current().absoluteFilePath("b.htm"));

        auto print = parseCommandLine({"--print-html", "c.htm"}, &error);
        QVERIFY(print && print->mode == CommandLine::Mode::PrintHtml);
    }
    void misuse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("screenshot without png") << QStringList{"--screenshot"};
        QTest::newRow("print without file") << QStringList{"--print-html"};
        QTest::newRow("two pages") << QStringList{"a.htm", "b.htm"};
        QTest::newRow("unknown option") << QStringList{"--frobnicate"};
    }
    void misuse()
    {
        QFETCH(QStringList, arguments);
        QString error;
        QVERIFY(!parseCommandLine(arguments, &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
