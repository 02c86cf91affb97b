#include "benchsupport.h"

#include "document/pagefile.h"

#include "platform/markup/textcodec.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace lumipage::bench
{

namespace
{

double quantile(const std::vector<double> &sorted, double q)
{
    if (sorted.empty())
        return 0;
    const double at = q * double(sorted.size() - 1);
    const std::size_t below = std::size_t(at);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (at - double(below)) * (sorted[above] - sorted[below]);
}

std::vector<double> sortedRatios(const Comparison &pairs)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < pairs.ours.size(); ++i)
        ratios.push_back(pairs.bare[i] > 0 ? pairs.ours[i] / pairs.bare[i] : 0.0);
    std::sort(ratios.begin(), ratios.end());
    return ratios;
}

// Half the width of the distribution-free 95 % interval of the median: the order
// statistics n/2 ± 0.98·√n (the whole range for a handful of pairs).
double medianHalfWidth(const std::vector<double> &sorted)
{
    const double n = double(sorted.size());
    if (sorted.size() < 2)
        return 0;
    const double reach = 0.98 * std::sqrt(n);
    const auto low = std::size_t(std::max(0.0, std::floor(n / 2 - reach)));
    const auto high = std::size_t(std::min(n - 1, std::ceil(n / 2 + reach)));
    return (sorted[high] - sorted[low]) / 2;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return quantile(values, 0.5);
}

} // namespace

Trial timed(std::function<void()> setup, std::function<void()> work)
{
    return [setup = std::move(setup), work = std::move(work)] {
        setup();
        QElapsedTimer timer;
        timer.start();
        work();
        return timer.nsecsElapsed() / 1e6;
    };
}

Trial timed(std::function<void()> work)
{
    return timed([] {}, std::move(work));
}

Comparison compare(const Trial &ours, const Trial &bare, const Budget &budget)
{
    for (int i = 0; i < budget.warmups; ++i) {
        ours();
        bare();
    }
    Comparison pairs;
    QElapsedTimer clock;
    clock.start();
    while (int(pairs.ours.size()) < budget.maxPairs) {
        pairs.ours.push_back(ours());
        pairs.bare.push_back(bare());
        if (int(pairs.ours.size()) < budget.minPairs)
            continue;
        if (medianHalfWidth(sortedRatios(pairs)) <= budget.precision ||
            clock.elapsed() > budget.seconds * 1000)
            break;
    }
    return pairs;
}

void report(const QString &name, const QString &page, const Comparison &pairs, const QString &unit)
{
    const std::vector<double> ratios = sortedRatios(pairs);
    auto rounded = [](double value) { return std::round(value * 1000) / 1000; };
    QJsonObject row{
        {"case", name},
        {"page", page},
        {"unit", unit},
        {"pairs", int(ratios.size())},
        {"lumipage", rounded(median(pairs.ours))},
        {"bare", rounded(median(pairs.bare))},
        {"ratio", rounded(quantile(ratios, 0.5))},
        {"ratio_iqr", QJsonArray{rounded(quantile(ratios, 0.25)), rounded(quantile(ratios, 0.75))}},
        {"ratio_range", QJsonArray{rounded(quantile(ratios, 0)), rounded(quantile(ratios, 1))}},
        {"ratio_ci95", rounded(medianHalfWidth(ratios))}};
    std::printf("%s\n", QJsonDocument(row).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

bool wanted(const QString &only, const QString &name)
{
    return only.isEmpty() || name.contains(only);
}

const QList<std::pair<QString, qsizetype>> &pageSizes()
{
    static const QList<std::pair<QString, qsizetype>> sizes = {
        {QStringLiteral("100KB"), 100 * 1024},
        {QStringLiteral("1MB"), 1024 * 1024},
        {QStringLiteral("5MB"), 5 * 1024 * 1024}};
    return sizes;
}

QVariant evaluate(QWebEnginePage *page, const QString &script, quint32 world)
{
    bool done = false;
    QVariant result;
    page->runJavaScript(script, world, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    QEventLoop loop;
    while (!done)
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    return result;
}

void bareLoad(QWebEngineView &bare, const QString &path)
{
    bare.load(QUrl::fromLocalFile(path));
    waitFor(bare.page(), SIGNAL(loadFinished(bool)));
}

void bareSave(QWebEngineView &bare, const QString &path, const QByteArray &encoding,
              Writing writing)
{
    const QString html = evaluate(bare.page(), "document.documentElement.outerHTML").toString();
    const QByteArray bytes = textcodec::encode(html, encoding);
    if (writing == Writing::Safe) {
        pagefile::writeBytes(path, bytes, nullptr);
        return;
    }
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(bytes);
}

void editAndRest(QWebEnginePage *page)
{
    // In the page's own world: page scripts are off while editing.
    evaluate(page,
             "document.body.querySelector('p').append(' one word');"
             "document.body.offsetHeight",
             QWebEngineScript::ApplicationWorld);
    // Long enough for the report and the refresh. Half a second gave a third of the
    // pairs per minute and a wider spread between them.
    QTest::qWait(150);
    evaluate(page, "0", QWebEngineScript::ApplicationWorld);
}

void settle()
{
    QThreadPool::globalInstance()->waitForDone();
    QTest::qWait(100);
}

QString caretToEnd()
{
    return QStringLiteral(
        "(function () { const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);"
        " let n = null; w.currentNode = document.body; while (w.lastChild()) {} "
        " for (n = w.currentNode; n && !(n.nodeType === 3 && n.data.trim()); n = w.previousNode()) "
        "{}"
        " getSelection().collapse(n, n.data.length); })()");
}

QString caretToStart()
{
    return QStringLiteral(
        "(function () { const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);"
        " let n = w.nextNode(); while (n && !n.data.trim()) n = w.nextNode();"
        " getSelection().collapse(n, 0); })()");
}

QString writePage(const QString &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(dir).filePath(name + QStringLiteral(".htm"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

QByteArray page(qsizetype bytes, bool bigTable, bool scripts)
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
                    "</UL></LI></UL>\n";
        if (n % 4 == 0 && scripts)
            html += "<DIV><SCRIPT TYPE =text/vbscript>\nSub x" + QByteArray::number(n) +
                    "()\nEnd Sub\n</SCRIPT></DIV>\n";
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

bool caught(QSignalSpy &spy, int timeoutMs)
{
    return !spy.isEmpty() || spy.wait(timeoutMs);
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
