#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

class QObject;
class QSignalSpy;
class QWebEnginePage;
class QWebEngineView;

namespace lumipage::bench
{

// One timed trial: prepares what it needs, then times the work alone; milliseconds (or,
// for a memory row, whatever unit the row reports).
using Trial = std::function<double()>;
// A trial that runs `setup` untimed, then times `work`.
Trial timed(std::function<void()> setup, std::function<void()> work);
Trial timed(std::function<void()> work);

// How long a row keeps alternating before it stops: at least `minPairs` pairs; then until
// the median ratio is known to ±`precision` (its 95 % interval), `maxPairs` pairs were run
// or `seconds` have passed. `warmups` pairs are run first and thrown away.
struct Budget {
    int minPairs = 9;
    int maxPairs = 401;
    double seconds = 45;
    double precision = 0.05;
    int warmups = 1;
};

// The pairs of one row, run alternately (Lumipage, bare, Lumipage, …).
struct Comparison {
    std::vector<double> ours, bare;
};
Comparison compare(const Trial &ours, const Trial &bare, const Budget &budget = {});

// Prints one JSON object: the case, the page, the number of pairs, both medians, the
// median of the per-pair ratios with its quartiles, extremes and the half-width of its
// 95 % interval.
void report(const QString &name, const QString &page, const Comparison &pairs,
            const QString &unit = QStringLiteral("ms"));

// A page of about `bytes`: long text, deep lists, tables, filter DIVs and script blocks
// (none with `scripts` false). With a 2,000-row table when `bigTable`.
QByteArray page(qsizetype bytes, bool bigTable = true, bool scripts = true);
// The same page in Shift_JIS with its META.
QByteArray shiftJisPage(qsizetype bytes);

// Whether the case `name` runs when only cases holding `only` are asked for.
bool wanted(const QString &only, const QString &name);

// The page sizes most cases run at: 100KB, 1MB, 5MB.
const QList<std::pair<QString, qsizetype>> &pageSizes();

// One script in a page, waited for: the bare engine's round trip (in the main world
// unless `world` says otherwise).
QVariant evaluate(QWebEnginePage *page, const QString &script, quint32 world = 0);
// The bare engine opens `path` and waits until it has loaded.
void bareLoad(QWebEngineView &bare, const QString &path);
// How a bare save writes: straight into the file, or as a save must (a temporary file made
// durable, then renamed over the old one).
enum class Writing { Plain, Safe };
// The bare engine's nearest thing to a save: its own serialisation, written out.
void bareSave(QWebEngineView &bare, const QString &path, const QByteArray &encoding,
              Writing writing = Writing::Plain);
// One word appended to the page's first paragraph, as a person edits before saving; then
// the page laid out (a big page takes a while) and a moment's rest, in which the window
// takes the change's report and refreshes. None of what follows an edit is the save's.
void editAndRest(QWebEnginePage *page);
// Untimed, before a trial: what the last one left running is done (the parse of a loaded
// page's original runs on a worker and would land inside the other side's trial), then a
// moment's rest for the engine's own clean-up.
void settle();

// Scripts that put the caret at the end of the page's last text, or at the start of the
// first.
QString caretToEnd();
QString caretToStart();

// Waits until `spy` has caught a signal, in an event loop that handles each event as it
// arrives (QTest::qWaitFor sleeps 10 ms between looks, which would land on our side only);
// false after `timeoutMs`.
bool caught(QSignalSpy &spy, int timeoutMs = 10000);

// Writes `bytes` to `dir`/`name`.htm; the file's path.
QString writePage(const QString &dir, const QString &name, const QByteArray &bytes);

// Waits for `signal` of `sender` (up to fifteen minutes).
bool waitFor(QObject *sender, const char *signal);

// Peak resident memory (kB) of this process and every process it started, as far as
// they are still running.
qint64 peakResidentKb();

} // namespace lumipage::bench
