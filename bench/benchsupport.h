#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class QObject;

namespace lumipage::bench
{

// Median and spread (max - min) of repeated timings, in milliseconds.
struct Stats {
    double median = 0, spread = 0;
};

// Runs `setup` then times `work`, `runs` times.
Stats measure(const std::function<void()> &setup, const std::function<void()> &work, int runs = 5);
// Times each of `samples` and summarises them.
Stats summarise(std::vector<double> samples);

// Prints one JSON object: the case, the page, both medians and spreads, their ratio.
void report(const QString &name, const QString &page, Stats ours, Stats bare,
            const QString &unit = QStringLiteral("ms"));

// A page of about `bytes`: long text, deep lists, tables, filter DIVs and script blocks.
// With a 2,000-row table when `bigTable`.
QByteArray page(qsizetype bytes, bool bigTable = true);
// The same page in Shift_JIS with its META.
QByteArray shiftJisPage(qsizetype bytes);

// Waits for `signal` of `sender` (up to two minutes).
bool waitFor(QObject *sender, const char *signal);

// Peak resident memory (kB) of this process and every process it started, as far as
// they are still running.
qint64 peakResidentKb();

} // namespace lumipage::bench
