#include "cases.h"

#include "benchsupport.h"

#include "app/mainwindow.h"
#include "insert/insertioncontroller.h"
#include "platform/markup/sourcetree.h"
#include "platform/markup/textcodec.h"
#include "platform/editing/webengineeditingcomponent.h"
#include "source/replace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace lumipage::bench
{

namespace
{

const QList<std::pair<QString, qsizetype>> kSizes = {{QStringLiteral("100KB"), 100 * 1024},
                                                     {QStringLiteral("1MB"), 1024 * 1024},
                                                     {QStringLiteral("5MB"), 5 * 1024 * 1024}};

bool wanted(const QString &only, const char *name)
{
    return only.isEmpty() || QString::fromLatin1(name).contains(only);
}

// One script in a page, waited for; the bare engine's round trip.
QVariant evaluate(QWebEnginePage *page, const QString &script,
                  quint32 world = QWebEngineScript::MainWorld)
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

// Opens `path` and waits until the page is ready; false when the component refused it.
bool loadAndWait(EditingComponent &editor, const QString &path)
{
    const bool opened = editor.LoadDocument(path);
    waitFor(&editor, SIGNAL(DocumentComplete()));
    return opened;
}

// The bare engine's nearest thing to a save: its own serialisation, written out.
void bareSave(QWebEngineView &bare, const QString &path, const QByteArray &encoding)
{
    const QString html = evaluate(bare.page(), "document.documentElement.outerHTML").toString();
    QFile out(path);
    out.open(QIODevice::WriteOnly);
    out.write(textcodec::encode(html, encoding));
}

// The editing component, its empty page ready, and a bare engine view, both shown.
struct Surfaces {
    Surfaces()
    {
        editor.resize(900, 600);
        editor.show();
        waitFor(&editor, SIGNAL(DocumentComplete()));
        bare.resize(900, 600);
        bare.show();
    }
    WebEngineEditingComponent editor;
    QWebEngineView bare;
};

// Saves that keep the author's markup: the original parsed and checked (done in the
// background after a load, reported alone), then saves with no edit and after one edit.
void keptMarkupCases(WebEngineEditingComponent &editor, QWebEngineView &bare, const QString &path,
                     const QString &out, const QString &label)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray original = file.readAll();
    QElapsedTimer timer;
    timer.start();
    const SourceTree tree(*sourcemap::map(original, "UTF-8", QString::fromUtf8(original)));
    const bool agrees = tree.documentHtml() == editor.DocumentHTML();
    std::printf("{\"case\":\"kept markup: original parsed and checked\",\"page\":\"%s\","
                "\"ms\":%lld,\"agrees\":%s}\n",
                qPrintable(label), timer.elapsed(), agrees ? "true" : "false");
    std::fflush(stdout);
    report("SaveDocument kept markup, no edit", label,
           measure([] {}, [&] { editor.SaveDocument(out); }),
           measure([] {}, [&] { bareSave(bare, out, "UTF-8"); }));
    // Each save after an edit of its own, the same edit made on the bare page before its
    // save. The page settles first, as it has when a person saves: what follows an edit
    // (layout, the editor's command states; a few hundred ms on the biggest page) is not
    // the save's.
    const auto edit = [](QWebEnginePage *page) {
        return [page] {
            evaluate(page, "document.body.querySelector('p').append(' one word')",
                     QWebEngineScript::ApplicationWorld); // page scripts are off while editing
            QTest::qWait(500);
            evaluate(page, "0", QWebEngineScript::ApplicationWorld);
        };
    };
    QWebEnginePage *page = editor.findChild<QWebEngineView *>()->page();
    report("SaveDocument kept markup, one edit", label,
           measure(edit(page), [&] { editor.SaveDocument(out); }),
           measure(edit(bare.page()), [&] { bareSave(bare, out, "UTF-8"); }));
    std::printf("{\"case\":\"kept markup after one edit\",\"page\":\"%s\",\"fallback\":\"%s\"}\n",
                qPrintable(label), qPrintable(editor.keptMarkupFallback()));
    // Saved again unchanged (as after the recovery copy of a still page): only written.
    report("SaveDocument kept markup, one edit, saved again", label,
           measure([] {}, [&] { editor.SaveDocument(out); }),
           measure([] {}, [&] { bareSave(bare, out, "UTF-8"); }));
}

} // namespace

QString writePage(const QString &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(dir).filePath(name + QStringLiteral(".htm"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

void componentCases(const QString &dir, const QString &only)
{
    if (!wanted(only, "LoadDocument DocumentHTML SaveDocument"))
        return;
    Surfaces surfaces;
    WebEngineEditingComponent &editor = surfaces.editor;
    QWebEngineView &bare = surfaces.bare;
    const QString out = QDir(dir).filePath(QStringLiteral("out.htm"));

    for (const auto &[label, bytes] : kSizes) {
        const QString path = writePage(dir, label, page(bytes));
        report("LoadDocument", label, measure([] {}, [&] { loadAndWait(editor, path); }),
               measure([] {}, [&] { bareLoad(bare, path); }));
        report(
            "DocumentHTML vs outerHTML", label, measure([] {}, [&] { editor.DocumentHTML(); }),
            measure([] {}, [&] { evaluate(bare.page(), "document.documentElement.outerHTML"); }));
        editor.setKeepMarkup(false); // the whole rewrite
        report("SaveDocument UTF-8", label, measure([] {}, [&] { editor.SaveDocument(out); }),
               measure([] {}, [&] { bareSave(bare, out, "UTF-8"); }));
        editor.setKeepMarkup(true);
        if (bytes >= 1024 * 1024)
            keptMarkupCases(editor, bare, path, out, label);
    }
    const QString sjis = writePage(dir, QStringLiteral("sjis"), shiftJisPage(1024 * 1024));
    loadAndWait(editor, sjis);
    bareLoad(bare, sjis);
    report("SaveDocument Shift_JIS", "1MB", measure([] {}, [&] { editor.SaveDocument(out); }),
           measure([] {}, [&] { bareSave(bare, out, "Shift_JIS"); }));
}

void bigPageCases(const QString &dir, const QString &only, int megabytes)
{
    if (!wanted(only, "big"))
        return;
    Surfaces surfaces;
    WebEngineEditingComponent &editor = surfaces.editor;
    QWebEngineView &bare = surfaces.bare;
    const QString label = QStringLiteral("%1MB").arg(megabytes);
    const QString path = writePage(dir, label, page(qsizetype(megabytes) * 1024 * 1024));
    const QString out = QDir(dir).filePath(QStringLiteral("outbig.htm"));
    report("LoadDocument", label, measure([] {}, [&] { loadAndWait(editor, path); }, 1),
           measure([] {}, [&] { bareLoad(bare, path); }, 1));
    report("DocumentHTML vs outerHTML", label, measure([] {}, [&] { editor.DocumentHTML(); }, 3),
           measure([] {}, [&] { evaluate(bare.page(), "document.documentElement.outerHTML"); }, 3));
    report("SaveDocument UTF-8", label, measure([] {}, [&] { editor.SaveDocument(out); }, 3),
           measure([] {}, [&] { bareSave(bare, out, "UTF-8"); }, 3));
    // Saved and opened again, the page reads back as it was.
    const QString before = editor.DocumentHTML();
    editor.SaveDocument(out);
    loadAndWait(editor, out);
    std::printf("{\"case\":\"%s page saved and reopened reads back the same\",\"same\":%s}\n",
                qPrintable(label), editor.DocumentHTML() == before ? "true" : "false");
    std::fflush(stdout);
}

void deepPageCases(const QString &dir, const QString &only, int depth)
{
    if (!wanted(only, "deep nested"))
        return;
    QByteArray html = "<HTML><BODY>";
    for (int i = 0; i < depth; ++i)
        html += "<DIV>";
    const QString path = writePage(dir, QStringLiteral("deep"), html + "最深部</BODY></HTML>");
    Surfaces surfaces;
    WebEngineEditingComponent &editor = surfaces.editor;
    const QString label = QStringLiteral("%1 nested DIVs").arg(depth);
    // The component opens the page whole or, when the engine stops making progress for
    // the load timeout, refuses it; which of the two it did is part of the result.
    bool opened = false;
    const Stats ours = measure([] {}, [&] { opened = loadAndWait(editor, path); }, 1);
    report("LoadDocument", label, ours, measure([] {}, [&] { bareLoad(surfaces.bare, path); }, 1));
    const QString read = opened ? editor.DocumentHTML() : QString();
    std::printf("{\"case\":\"%s page\",\"opened\":%s,\"elements_read_back\":%lld}\n",
                qPrintable(label), opened ? "true" : "false",
                static_cast<long long>(read.count(QStringLiteral("<DIV>"))));
    std::fflush(stdout);
}

void windowCases(const QString &dir, const QString &only)
{
    if (!wanted(only, "refresh typing paste"))
        return;
    MainWindow window;
    window.show();
    EditingComponent *editor = window.editor();
    waitFor(editor, SIGNAL(DocumentComplete()));
    QWebEnginePage *page = editor->findChild<QWebEngineView *>()->page();
    QWebEngineView bare;
    bare.resize(900, 600);
    bare.show();

    // Caret moves to the end of the last text and to the start of the first one.
    const QString toEnd = QStringLiteral(
        "(function () { const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);"
        " let n = null; w.currentNode = document.body; while (w.lastChild()) {} "
        " for (n = w.currentNode; n && !(n.nodeType === 3 && n.data.trim()); n = w.previousNode()) "
        "{}"
        " getSelection().collapse(n, n.data.length); })()");
    const QString toStart = QStringLiteral(
        "(function () { const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);"
        " let n = w.nextNode(); while (n && !n.data.trim()) n = w.nextNode();"
        " getSelection().collapse(n, 0); })()");
    for (const auto &[label, bytes] : kSizes) {
        const QString path = writePage(dir, QStringLiteral("window") + label, bench::page(bytes));
        loadAndWait(*editor, path);
        bareLoad(bare, path);
        evaluate(bare.page(), "document.designMode = 'on'");

        // A caret move: the page reports, the main window refreshes every command's state.
        if (wanted(only, "refresh")) {
            std::vector<double> ours, plain;
            for (int i = 0; i < 10; ++i) {
                QSignalSpy changed(editor, SIGNAL(DisplayChanged()));
                QElapsedTimer timer;
                timer.start();
                page->runJavaScript(i % 2 ? toStart : toEnd, QWebEngineScript::ApplicationWorld);
                changed.wait(10000);
                ours.push_back(timer.nsecsElapsed() / 1e6);
                timer.restart();
                evaluate(bare.page(), "1");
                plain.push_back(timer.nsecsElapsed() / 1e6);
            }
            report("caret move to state refresh done vs one round trip", label, summarise(ours),
                   summarise(plain));
        }

        // Typing: each key until the page has reported and the window has refreshed.
        if (wanted(only, "typing") && bytes <= 1024 * 1024) {
            // The widget that takes input is made anew with each page's renderer.
            QWidget *surface = editor->findChild<QWebEngineView *>()->focusProxy();
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));
            evaluate(page, toEnd, QWebEngineScript::ApplicationWorld);
            QTest::mouseClick(bare.focusProxy(), Qt::LeftButton, {}, QPoint(20, 20));
            evaluate(bare.page(), toEnd);
            std::vector<double> ours, plain;
            for (int i = 0; i < 200; ++i) {
                QSignalSpy changed(editor, SIGNAL(DisplayChanged()));
                QElapsedTimer timer;
                timer.start();
                QTest::keyClick(surface, char('a' + i % 26));
                changed.wait(10000);
                ours.push_back(timer.nsecsElapsed() / 1e6);
                timer.restart();
                QTest::keyClick(bare.focusProxy(), char('a' + i % 26));
                evaluate(bare.page(), "1");
                plain.push_back(timer.nsecsElapsed() / 1e6);
            }
            report("typing, per keystroke until refreshed", label, summarise(ours),
                   summarise(plain));
        }

        // One fragment paste through the paste road.
        if (wanted(only, "paste") && label == QLatin1String("1MB")) {
            const QString fragment = QStringLiteral(
                "<MARQUEE behavior=Scroll direction=Left>文字を入力してください。</MARQUEE>");
            evaluate(page, toEnd, QWebEngineScript::ApplicationWorld);
            evaluate(bare.page(), toEnd);
            const QString barePaste =
                QStringLiteral("document.execCommand('insertHTML', false, '%1')").arg(fragment);
            report("veld_go paste vs insertHTML", label,
                   measure([] {}, [&] { window.insertion().pasteFragment(fragment); }),
                   measure([] {}, [&] { evaluate(bare.page(), barePaste); }));
        }
    }
}

void replaceCases(const QString &only)
{
    if (!wanted(only, "bulk replace"))
        return;
    for (const qsizetype size : {qsizetype(1024 * 1024), qsizetype(10 * 1024 * 1024)}) {
        QString source;
        while (source.size() < size)
            source += QStringLiteral("<TR><TD>cell</TD><TD>値</TD></TR>\n");
        // Same length (overwritten in place) and longer (the text grows).
        for (const QString replacement : {QStringLiteral("TH"), QStringLiteral("TABLECELL")}) {
            QString result;
            const Stats ours = measure(
                [] {}, [&] { result = replaceAll(source, QStringLiteral("TD"), replacement); });
            const Stats qt = measure([] {},
                                     [&] {
                                         result = source;
                                         result.replace(QStringLiteral("TD"), replacement);
                                     });
            report(QStringLiteral("bulk replace TD by %1 vs QString::replace").arg(replacement),
                   QStringLiteral("%1M chars").arg(size >> 20), ours, qt);
        }
    }
}

} // namespace lumipage::bench
