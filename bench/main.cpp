// lumipage-bench: how fast Lumipage starts, opens, reads, refreshes, types, pastes,
// saves and replaces, each case next to the same work done by the bare engine (or Qt)
// in the same run, alternately (Lumipage, bare, Lumipage, …) until the median of the
// per-pair ratios holds still. One JSON object per case: both medians, the ratio and its
// spread.
//   lumipage-bench [--only TEXT]   runs the cases whose name holds TEXT
//   lumipage-bench --big-mb N      also opens, reads, saves and reopens an N MB page
//                                  (--only big alone: 10 MB)
//   lumipage-bench --only deep     opens a page nested 100,000 DIVs deep
// The big and the deep page run only when asked for: the engine alone takes minutes over
// each, so that without arguments the run ends in some forty minutes.
#include "benchsupport.h"
#include "cases.h"

#include "app/application.h"
#include "app/mainwindow.h"
#include "platform/editing/editingcomponent.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>

using namespace lumipage;
using namespace lumipage::bench;

namespace
{

// Child processes: start up, or open a page, then report and quit.
int runChild(const QString &mode, const QString &file)
{
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<QWebEngineView> bare;
    const bool ours = mode.endsWith(QLatin1String("lumipage"));
    if (ours) {
        window = std::make_unique<MainWindow>();
        window->show();
        waitFor(window->editor(), SIGNAL(DocumentComplete()));
        if (!file.isEmpty()) {
            window->editor()->LoadDocument(file);
            waitFor(window->editor(), SIGNAL(DocumentComplete()));
        }
    } else {
        bare = std::make_unique<QWebEngineView>();
        bare->resize(910, 580);
        bare->show();
        bare->load(file.isEmpty() ? QUrl(QStringLiteral("about:blank"))
                                  : QUrl::fromLocalFile(file));
        waitFor(bare->page(), SIGNAL(loadFinished(bool)));
    }
    if (mode.startsWith(QLatin1String("memory"))) {
        QEventLoop settle;
        QTimer::singleShot(1500, &settle, &QEventLoop::quit);
        settle.exec();
        std::printf("%lld\n", static_cast<long long>(peakResidentKb()));
    }
    return 0;
}

// Runs this program as a child in `mode`; its run time (ms) and what it printed.
std::pair<double, QString> child(const QString &mode, const QString &file = {})
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode, file});
    process.waitForFinished(900000);
    return {timer.nsecsElapsed() / 1e6,
            QString::fromUtf8(process.readAllStandardOutput()).trimmed()};
}

// `big` is the big page's size in MB, 0 when it was not asked for.
void processCases(const QString &dir, const QString &only, int big)
{
    if (wanted(only, QStringLiteral("start-up"))) {
        report("start-up to the empty page", "empty",
               compare([] { return child(QStringLiteral("startup-lumipage")).first; },
                       [] { return child(QStringLiteral("startup-bare")).first; }));
    }
    for (const int megabytes : {5, big}) {
        const QString label = QStringLiteral("%1MB").arg(megabytes);
        if (megabytes == 0 || (!wanted(only, QStringLiteral("memory")) &&
                               !(megabytes == big && wanted(only, QStringLiteral("big")))))
            continue;
        const QString file = writePage(dir, label, page(megabytes * 1024 * 1024));
        // Each child loads the whole page: a few pairs.
        report(
            "peak resident memory, page open", label,
            compare(
                [&] {
                    return child(QStringLiteral("memory-lumipage"), file).second.toDouble() / 1024;
                },
                [&] { return child(QStringLiteral("memory-bare"), file).second.toDouble() / 1024; },
                {.minPairs = 3, .maxPairs = 3, .warmups = 0}),
            QStringLiteral("MB"));
    }
}

} // namespace

int main(int argc, char **argv)
{
    prepareProcess();
    QApplication app(argc, argv);
    // Recent files, settings and recovery copies go to a test folder, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args.at(1) == QLatin1String("--child"))
        return runChild(args.at(2), args.value(3));
    const int onlyAt = args.indexOf(QStringLiteral("--only"));
    const QString only = onlyAt > 0 ? args.value(onlyAt + 1) : QString();

    // The big page only when asked for: by its size, or by name (then 10 MB).
    const int bigAt = args.indexOf(QStringLiteral("--big-mb"));
    const int big = bigAt > 0 ? std::max(1, args.value(bigAt + 1).toInt())
                    : only.contains(QLatin1String("big")) ? 10
                                                          : 0;

    QTemporaryDir dir;
    componentCases(dir.path(), only);
    if (big > 0)
        bigPageCases(dir.path(), only, big);
    if (only.contains(QLatin1String("deep")))
        deepPageCases(dir.path(), only, 100000);
    windowCases(dir.path(), only);
    commandCases(dir.path(), only);
    sourcePaneCases(dir.path(), only);
    replaceCases(only);
    publishCases(dir.path(), only);
    styleCases(dir.path(), only);
    processCases(dir.path(), only, big);
    return 0;
}
