#include "benchsupport.h"

#include "platform/markup/textcodec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace lumipage::bench
{

Stats summarise(std::vector<double> samples)
{
    if (samples.empty())
        return {};
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.back() - samples.front()};
}

Stats measure(const std::function<void()> &setup, const std::function<void()> &work, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return summarise(times);
}

void report(const QString &name, const QString &page, Stats ours, Stats bare, const QString &unit)
{
    QJsonObject row{{"case", name},
                    {"page", page},
                    {"unit", unit},
                    {"lumipage", ours.median},
                    {"lumipage_spread", ours.spread},
                    {"bare", bare.median},
                    {"bare_spread", bare.spread},
                    {"ratio", bare.median > 0 ? ours.median / bare.median : 0.0}};
    std::printf("%s\n", QJsonDocument(row).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

QByteArray page(qsizetype bytes, bool bigTable)
{
    QByteArray html = "<HTML><HEAD><META http-equiv=Content-Type content=\"text/html; "
                      "charset=utf-8\"><TITLE>bench</TITLE></HEAD><BODY>\n";
    if (bigTable) {
        html += "<TABLE border=1>";
        for (int r = 0; r < 2000 && html.size() < bytes / 2; ++r)
            html += "<TR><TD>" + QByteArray::number(r) + "</TD><TD>セル</TD><TD>cell</TD></TR>";
        html += "</TABLE>\n";
    }
    int n = 0;
    while (html.size() < bytes) {
        // Mostly text; every fourth chunk a list four levels deep and a script block,
        // every other one a filter DIV (lists are what costs the engine most).
        html += "<P>段落 " + QByteArray::number(n) +
                " 日本語の長い文章が続きます。Some English text too, and more of it.</P>\n";
        if (n % 4 == 0)
            html += "<UL><LI>one<UL><LI>two<UL><LI>three<UL><LI>four</LI></UL></LI></UL></LI>"
                    "</UL></LI></UL>\n<DIV><SCRIPT TYPE =text/vbscript>\nSub x" +
                    QByteArray::number(n) + "()\nEnd Sub\n</SCRIPT></DIV>\n";
        if (n % 2 == 0)
            html += "<DIV style=\"filter: Shadow(Color=gray, Direction=135); width: 300px\">影 " +
                    QByteArray::number(n) + "</DIV>\n";
        ++n;
    }
    return html + "</BODY></HTML>\n";
}

QByteArray shiftJisPage(qsizetype bytes)
{
    QString text = QString::fromUtf8(page(bytes));
    text.replace(QStringLiteral("charset=utf-8"), QStringLiteral("charset=Shift_JIS"));
    return textcodec::encode(text, "Shift_JIS");
}

bool waitFor(QObject *sender, const char *signal)
{
    QSignalSpy spy(sender, signal);
    return spy.wait(900000); // a 50 MB page takes minutes on a loaded machine
}

namespace
{

qint64 peakOf(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

qint64 treePeak(qint64 pid)
{
    qint64 total = peakOf(pid);
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks.filePath(task + QStringLiteral("/children")));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &child : children.readAll().split(' '))
            if (!child.trimmed().isEmpty())
                total += treePeak(child.trimmed().toLongLong());
    }
    return total;
}

} // namespace

qint64 peakResidentKb()
{
    return treePeak(getpid());
}

} // namespace lumipage::bench
