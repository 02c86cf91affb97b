// Whole commands of the main window, from the user's action to what the user waits for:
// 保存 to the bytes on disk, ブラウズ実行 to the page shown with its effects started, and
// an effect dialog's OK to the page updated. Dialogs are answered without being waited
// for: the save path comes from a scripted common dialog, and the time a message box
// stands open is left out of the timing.
#include "cases.h"

#include "benchsupport.h"

#include "commands/commandactions.h"
#include "app/mainwindow.h"
#include "platform/editing/editingcomponent.h"
#include "platform/effects/effectspage.h"
#include "support/scripteddialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include <atomic>
#include <chrono>
#include <sys/stat.h>
#include <thread>
#include <tuple>

namespace lumipage::bench
{

namespace
{

// Answers every message box as soon as it shows (OK, or Yes), noting when it was made and
// when it was gone, so that the box's own time and the time a person would take are left
// out of a timing.
class BoxAnswerer : public QObject
{
public:
    struct Box {
        QString text;
        qint64 shownNs = 0, goneNs = 0;
    };
    explicit BoxAnswerer(const QElapsedTimer &clock) : m_clock(clock)
    {
        qApp->installEventFilter(this);
    }
    ~BoxAnswerer() override { qApp->removeEventFilter(this); }
    QList<Box> boxes;

    // When a box whose text is one of `ends` showed (ns on the clock); -1 when none did.
    qint64 shown(const QStringList &ends) const
    {
        for (const Box &box : boxes)
            if (ends.contains(box.text))
                return box.shownNs;
        return -1;
    }
    // Milliseconds from `start` to `end`, less the time boxes stood open in between.
    double lessOpenBoxes(qint64 start, qint64 end) const
    {
        qint64 open = 0;
        for (const Box &box : boxes)
            if (box.shownNs >= start && box.goneNs > 0 && box.goneNs <= end)
                open += box.goneNs - box.shownNs;
        return (end - start - open) / 1e6;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (!box)
            return false;
        // A box's time runs from its first event (its parts are added while it is made)
        // until it is destroyed: making, laying out and closing a dialog (the windows it
        // blocked given back their input) is the dialog's time too.
        if (!m_open.contains(box)) {
            const qsizetype index = boxes.size();
            m_open.insert(box, index);
            boxes.append({QString(), m_clock.nsecsElapsed(), 0});
            connect(box, &QObject::destroyed, this, [this, box, index] {
                m_open.remove(box);
                if (boxes.size() > index && boxes[index].goneNs > 0)
                    boxes[index].goneNs = m_clock.nsecsElapsed();
            });
        }
        if (event->type() != QEvent::Show)
            return false;
        const qsizetype index = m_open.value(box);
        boxes[index].text = box->text();
        QMetaObject::invokeMethod(
            this,
            [this, index, guard = QPointer<QMessageBox>(box)] {
                boxes[index].goneNs = m_clock.nsecsElapsed(); // until it is destroyed
                if (!guard)
                    return;
                QAbstractButton *yes = guard->button(QMessageBox::Ok);
                if (!yes)
                    yes = guard->button(QMessageBox::Yes);
                yes ? yes->click() : guard->reject();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    const QElapsedTimer &m_clock;
    QHash<const QObject *, qsizetype> m_open; // boxes alive, by their place in `boxes`
};

// Notes when a file is replaced or rewritten (its inode or modification time changes),
// looking every quarter millisecond from a thread of its own: the moment a save's bytes
// are on disk, whatever the program does after it.
class FileWatch
{
public:
    FileWatch(const QString &path, const QElapsedTimer &clock)
        : m_path(QFile::encodeName(path)), m_clock(clock)
    {
        const Stamp before = stamp();
        m_thread = std::thread([this, before] {
            while (!m_stop) {
                if (stamp() != before) {
                    m_changedNs = m_clock.nsecsElapsed();
                    return;
                }
                std::this_thread::sleep_for(std::chrono::microseconds(250));
            }
        });
    }
    ~FileWatch()
    {
        m_stop = true;
        m_thread.join();
    }
    // When the file changed (ns on the clock), after waiting up to a second; -1 if not.
    qint64 changedNs()
    {
        for (int i = 0; i < 4000 && m_changedNs < 0; ++i)
            std::this_thread::sleep_for(std::chrono::microseconds(250));
        return m_changedNs;
    }

private:
    using Stamp = std::tuple<ino_t, qint64, qint64>;
    Stamp stamp() const
    {
        struct stat info = {};
        if (::stat(m_path.constData(), &info) != 0)
            return {};
        return {info.st_ino, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
    }
    const QByteArray m_path;
    const QElapsedTimer &m_clock;
    std::atomic<bool> m_stop = false;
    std::atomic<qint64> m_changedNs = -1;
    std::thread m_thread;
};

// A shown main window whose save dialog answers from a script, a bare engine view beside
// it, and the clock their timings are read from.
struct Bench {
    Bench()
    {
        auto scripted = std::make_unique<test::ScriptedCommonDialog>();
        dialog = scripted.get();
        window = std::make_unique<MainWindow>(std::move(scripted),
                                              std::make_unique<test::RecordingShell>());
        window->show();
        waitFor(window->editor(), SIGNAL(DocumentComplete()));
        bare.resize(900, 600);
        bare.show();
        clock.start();
    }
    EditingComponent &editor() const { return *window->editor(); }
    QWebEnginePage *editingPage() const
    {
        return window->editor()->findChild<QWebEngineView *>()->page();
    }
    void open(const QString &path)
    {
        editor().LoadDocument(path);
        waitFor(window->editor(), SIGNAL(DocumentComplete()));
        bareLoad(bare, path);
    }
    // Triggers the command's action as a click does; a disabled action stops the bench,
    // since its row would time nothing.
    void trigger(CommandId id) const
    {
        QAction *action = window->action(id);
        if (!action->isEnabled())
            qFatal("the action of command %d is disabled", int(id));
        action->trigger();
    }

    test::ScriptedCommonDialog *dialog = nullptr;
    std::unique_ptr<MainWindow> window;
    QWebEngineView bare;
    QElapsedTimer clock;
};

// Evaluates `condition` in the page's own world until it holds; false after a minute.
bool waitUntil(QWebEnginePage *page, const QString &condition)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000)
        if (evaluate(page, condition).toBool())
            return true;
    return false;
}

void saveCommandCases(Bench &bench, const QString &dir, const QString &only)
{
    if (!wanted(only, "save command"))
        return;
    BoxAnswerer boxes(bench.clock);
    const QStringList saved = {QStringLiteral("上書き保存しました。"),
                               QStringLiteral("保存しました。")};
    for (const auto &[label, bytes] : pageSizes()) {
        if (bytes < 1024 * 1024)
            continue;
        // Saved over the page's own file, as a person saves the page they opened: the
        // overwrite question is answered, and its time left out.
        const QString path = writePage(dir, QStringLiteral("save") + label, page(bytes));
        const QString bareOut = QDir(dir).filePath(QStringLiteral("baresave.htm"));
        bench.open(path);
        // Until the bytes are on disk, and (reported apart) until the box saying so shows.
        std::vector<double> untilMessage;
        const Trial ours = [&] {
            editAndRest(bench.editingPage());
            bench.dialog->files.enqueue(path);
            boxes.boxes.clear();
            FileWatch written(path, bench.clock);
            const qint64 start = bench.clock.nsecsElapsed();
            bench.trigger(CommandId::SaveFile);
            const qint64 onDisk = written.changedNs();
            const qint64 told = boxes.shown(saved);
            if (onDisk < 0 || told < 0)
                qFatal("the save command did not save: %s",
                       qPrintable(boxes.boxes.isEmpty() ? QString() : boxes.boxes.last().text));
            untilMessage.push_back(boxes.lessOpenBoxes(start, told));
            return boxes.lessOpenBoxes(start, onDisk);
        };
        const Trial plain = timed([&] { editAndRest(bench.bare.page()); },
                                  [&] { bareSave(bench.bare, bareOut, "UTF-8"); });
        const Comparison pairs = compare(ours, plain, {.minPairs = 9, .seconds = 60});
        report("save command (bare: outerHTML + write)", label, pairs);
        // The warm-up's figure comes first; the pairs' figures are the last ones.
        Comparison told;
        told.ours.assign(untilMessage.end() - std::ptrdiff_t(pairs.ours.size()),
                         untilMessage.end());
        told.bare = pairs.bare;
        report("save command until its message shows (bare: outerHTML + write)", label, told);
        // The same against a bare save that writes as safely as ours must: a temporary
        // file made durable and renamed over the page.
        const Trial safe = timed([&] { editAndRest(bench.bare.page()); },
                                 [&] { bareSave(bench.bare, bareOut, "UTF-8", Writing::Safe); });
        report("save command (bare: outerHTML + safe write)", label,
               compare(ours, safe, {.minPairs = 9, .seconds = 60}));
    }
}

// The page with an effect that starts on load: a box revealed by a transition.
QByteArray pageWithRevealOnLoad(qsizetype bytes)
{
    QByteArray html = page(bytes);
    html.insert(html.lastIndexOf("</BODY>"),
                "<DIV ID=veld STYLE=\"visibility:hidden; "
                "filter:revealTrans(Duration=1, Transition=3)\">現れる文字</DIV>\n"
                "<DIV><SCRIPT TYPE =text/vbscript>\nSub window_onload()\n"
                "    veld.filters.item(0).Apply\n    veld.style.visibility = \"visible\"\n"
                "    veld.filters.item(0).Play\nEnd Sub\n</SCRIPT></DIV>\n");
    return html;
}

void browseCases(Bench &bench, const QString &dir, const QString &only)
{
    if (!wanted(only, "browse mode"))
        return;
    // Shown, loaded, and the load's effect started (its procedure made the box visible).
    const QString started =
        QStringLiteral("document.readyState == 'complete' && !!document.getElementById('veld') && "
                       "document.getElementById('veld').style.visibility == 'visible'");
    for (const auto &[label, bytes] : pageSizes()) {
        if (bytes > 1024 * 1024)
            continue;
        const QString path =
            writePage(dir, QStringLiteral("browse") + label, pageWithRevealOnLoad(bytes));
        bench.open(path);
        // The bare engine loads the copy browse mode shows, effects runtime included.
        const QString copy =
            writePage(dir, QStringLiteral("browsecopy") + label,
                      pageWithEffects(bench.editor().DocumentHTML()).html.toUtf8());
        const Trial ours = [&] {
            if (bench.editor().BrowseMode()) {
                bench.trigger(CommandId::Edit);
                waitFor(bench.window->editor(), SIGNAL(DocumentComplete()));
            }
            settle();
            QElapsedTimer timer;
            timer.start();
            bench.trigger(CommandId::Browse);
            QWebEngineView *view = nullptr;
            for (QWebEngineView *candidate :
                 bench.window->editor()->findChildren<QWebEngineView *>())
                if (candidate->isVisible())
                    view = candidate;
            if (!bench.editor().BrowseMode() || !view || !waitUntil(view->page(), started))
                qFatal("browse mode did not show the page with its effect started");
            return timer.nsecsElapsed() / 1e6;
        };
        const Trial plain = timed(settle, [&] {
            bareLoad(bench.bare, copy);
            if (!waitUntil(bench.bare.page(), started))
                qFatal("the bare engine did not start the copy's effect");
        });
        report("browse mode switch until effects started (bare: load of the copy)", label,
               compare(ours, plain, {.minPairs = 9, .seconds = 60}));
        bench.trigger(CommandId::Edit);
        waitFor(bench.window->editor(), SIGNAL(DocumentComplete()));
    }
}

} // namespace

void commandCases(const QString &dir, const QString &only)
{
    if (!wanted(only, "save command browse mode effect insertion"))
        return;
    Bench bench;
    saveCommandCases(bench, dir, only);
    browseCases(bench, dir, only);
    effectInsertionCases(*bench.window, bench.bare, dir, only);
}

} // namespace lumipage::bench
