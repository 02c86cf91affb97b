// lumipage-bench: how fast Lumipage opens, reads, saves and replaces, each case next
// to the same work done by the bare engine (or Qt) in the same run. One JSON object
// per case: medians and spreads over repeated runs, and their ratio.
#include "app/application.h"
#include "platform/editing/textcodec.h"
#include "platform/editing/webengineeditingcomponent.h"
#include "source/replace.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace lumipage;

namespace
{

constexpr int kRuns = 5;

struct Stats {
    double median = 0, spread = 0;
};

Stats measure(const std::function<void()> &setup, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back() - times.front()};
}

void report(const QString &name, const QString &size, Stats ours, Stats bare)
{
    QJsonObject row{{"case", name},
                    {"page", size},
                    {"lumipage_ms", ours.median},
                    {"lumipage_spread_ms", ours.spread},
                    {"bare_ms", bare.median},
                    {"bare_spread_ms", bare.spread},
                    {"ratio", bare.median > 0 ? ours.median / bare.median : 0.0}};
    std::printf("%s\n", QJsonDocument(row).toJson(QJsonDocument::Compact).constData());
    std::fflush(stdout);
}

// A page of about `bytes`: long text, deep lists, a big table, filter DIVs and scripts.
QByteArray page(qsizetype bytes)
{
    QByteArray html = "<HTML><HEAD><TITLE>bench</TITLE></HEAD><BODY>\n";
    int n = 0;
    while (html.size() < bytes) {
        html += "<P>段落 " + QByteArray::number(n) +
                " 日本語の長い文章が続きます。Some English text too.</P>\n";
        html += "<UL><LI>one<UL><LI>two<UL><LI>three</LI></UL></LI></UL></LI></UL>\n";
        html += "<DIV style=\"filter: Shadow(Color=gray, Direction=135); width: 300px\">影 " +
                QByteArray::number(n) + "</DIV>\n";
        html += "<TABLE border=1>";
        for (int r = 0; r < 20; ++r)
            html += "<TR><TD>" + QByteArray::number(r) + "</TD><TD>セル</TD></TR>";
        html += "</TABLE>\n<DIV><SCRIPT TYPE =text/vbscript>\nSub x" + QByteArray::number(n) +
                "()\nEnd Sub\n</SCRIPT></DIV>\n";
        ++n;
    }
    return html + "</BODY></HTML>\n";
}

bool waitLoaded(QObject *sender, const char *signal)
{
    QSignalSpy spy(sender, signal);
    return spy.wait(120000);
}

} // namespace

int main(int argc, char **argv)
{
    prepareProcess();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    WebEngineEditingComponent editor;
    editor.resize(900, 600);
    editor.show();
    waitLoaded(&editor, SIGNAL(DocumentComplete()));
    QWebEngineView bare;
    bare.resize(900, 600);
    bare.show();

    const QList<std::pair<QString, qsizetype>> sizes = {
        {"100KB", 100 * 1024}, {"1MB", 1024 * 1024}, {"5MB", 5 * 1024 * 1024}};
    for (const auto &[label, bytes] : sizes) {
        const QString path = dir.filePath(label + ".htm");
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(page(bytes));
        file.close();

        const Stats load = measure([] {},
                                   [&] {
                                       editor.LoadDocument(path);
                                       waitLoaded(&editor, SIGNAL(DocumentComplete()));
                                   });
        const Stats bareLoad = measure([] {},
                                       [&] {
                                           bare.load(QUrl::fromLocalFile(path));
                                           waitLoaded(bare.page(), SIGNAL(loadFinished(bool)));
                                       });
        report("LoadDocument", label, load, bareLoad);

        QString html;
        const Stats read = measure([] {}, [&] { html = editor.DocumentHTML(); });
        const Stats bareRead =
            measure([] {},
                    [&] {
                        bool done = false;
                        bare.page()->runJavaScript("document.documentElement.outerHTML",
                                                   [&](const QVariant &) { done = true; });
                        QEventLoop loop;
                        while (!done)
                            loop.processEvents(QEventLoop::WaitForMoreEvents);
                    });
        report("DocumentHTML", label, read, bareRead);

        const Stats save = measure([] {}, [&] { editor.SaveDocument(dir.filePath("out.htm")); });
        const Stats plainWrite = measure([] {},
                                         [&] {
                                             QFile out(dir.filePath("plain.htm"));
                                             out.open(QIODevice::WriteOnly);
                                             out.write(html.toUtf8());
                                         });
        report("SaveDocument (UTF-8) vs writing the text", label, save, plainWrite);
    }

    // Bulk replace over 10 MB of source text against QString::replace.
    QString source;
    while (source.size() < 10 * 1024 * 1024)
        source += QStringLiteral("<TR><TD>cell</TD><TD>値</TD></TR>\n");
    QString result;
    const Stats ours = measure([] {}, [&] { result = replaceAll(source, "TD", "TH"); });
    const Stats qt = measure([] {},
                             [&] {
                                 result = source;
                                 result.replace("TD", "TH");
                             });
    report("bulk replace", "10M chars", ours, qt);
    return 0;
}
