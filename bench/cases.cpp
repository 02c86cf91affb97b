// The editing component's own operations and the bulk replace, each against the same
// work done by the bare engine (or plain Qt).
#include "cases.h"

#include "benchsupport.h"

#include "platform/editing/webengineeditingcomponent.h"
#include "platform/markup/sourcetree.h"
#include "source/replace.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QWebEngineView>

namespace lumipage::bench
{

namespace
{

// Opens `path` and waits until the page is ready; false when the component refused it.
bool loadAndWait(EditingComponent &editor, const QString &path)
{
    const bool opened = editor.LoadDocument(path);
    waitFor(&editor, SIGNAL(DocumentComplete()));
    return opened;
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

// A page load is the longest trial: a few pairs, and no more than that on a big page.
Budget loadBudget(qsizetype bytes)
{
    if (bytes >= 5 * 1024 * 1024)
        return {.minPairs = 5, .maxPairs = 5, .warmups = 0};
    return {.minPairs = 9, .seconds = 60, .warmups = 0};
}

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
    const Trial ours = timed([&] { editor.SaveDocument(out); });
    const Trial plain = timed([&] { bareSave(bare, out, "UTF-8"); });
    report("SaveDocument kept markup, no edit", label, compare(ours, plain));
    // Each save after an edit of its own, the same edit made on the bare page before its.
    QWebEnginePage *page = editor.findChild<QWebEngineView *>()->page();
    const Budget edited{.minPairs = 9, .seconds = 40, .warmups = 0};
    report("SaveDocument kept markup, one edit", label,
           compare(timed([page] { editAndRest(page); }, [&] { editor.SaveDocument(out); }),
                   timed([&] { editAndRest(bare.page()); }, [&] { bareSave(bare, out, "UTF-8"); }),
                   edited));
    std::printf("{\"case\":\"kept markup after one edit\",\"page\":\"%s\",\"fallback\":\"%s\"}\n",
                qPrintable(label), qPrintable(editor.keptMarkupFallback()));
    // Saved again unchanged (as after the recovery copy of a still page): only written.
    report("SaveDocument kept markup, one edit, saved again", label, compare(ours, plain));
}

} // namespace

void componentCases(const QString &dir, const QString &only)
{
    if (!wanted(only, "LoadDocument DocumentHTML SaveDocument"))
        return;
    Surfaces surfaces;
    WebEngineEditingComponent &editor = surfaces.editor;
    QWebEngineView &bare = surfaces.bare;
    const QString out = QDir(dir).filePath(QStringLiteral("out.htm"));
    const QString outerHtml = QStringLiteral("document.documentElement.outerHTML");

    for (const auto &[label, bytes] : pageSizes()) {
        const QString path = writePage(dir, label, page(bytes));
        report("LoadDocument", label,
               compare(timed(settle, [&] { loadAndWait(editor, path); }),
                       timed(settle, [&] { bareLoad(bare, path); }), loadBudget(bytes)));
        report("DocumentHTML vs outerHTML", label,
               compare(timed([&] { editor.DocumentHTML(); }),
                       timed([&] { evaluate(bare.page(), outerHtml); })));
        editor.setKeepMarkup(false); // the whole rewrite
        report("SaveDocument UTF-8", label,
               compare(timed([&] { editor.SaveDocument(out); }),
                       timed([&] { bareSave(bare, out, "UTF-8"); })));
        editor.setKeepMarkup(true);
        if (bytes >= 1024 * 1024)
            keptMarkupCases(editor, bare, path, out, label);
    }
    const QString sjis = writePage(dir, QStringLiteral("sjis"), shiftJisPage(1024 * 1024));
    loadAndWait(editor, sjis);
    bareLoad(bare, sjis);
    report("SaveDocument Shift_JIS", "1MB",
           compare(timed([&] { editor.SaveDocument(out); }),
                   timed([&] { bareSave(bare, out, "Shift_JIS"); })));
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
    const Budget once{.minPairs = 1, .maxPairs = 1, .warmups = 0};
    const Budget few{.minPairs = 5, .seconds = 60, .warmups = 0};
    report("LoadDocument", label,
           compare(timed([&] { loadAndWait(editor, path); }), timed([&] { bareLoad(bare, path); }),
                   once));
    report("DocumentHTML vs outerHTML", label,
           compare(timed([&] { editor.DocumentHTML(); }), timed([&] {
                       evaluate(bare.page(), QStringLiteral("document.documentElement.outerHTML"));
                   }),
                   few));
    report("SaveDocument UTF-8", label,
           compare(timed([&] { editor.SaveDocument(out); }),
                   timed([&] { bareSave(bare, out, "UTF-8"); }), few));
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
    report("LoadDocument", label,
           compare(timed([&] { opened = loadAndWait(editor, path); }),
                   timed([&] { bareLoad(surfaces.bare, path); }),
                   {.minPairs = 1, .maxPairs = 1, .warmups = 0}));
    const QString read = opened ? editor.DocumentHTML() : QString();
    std::printf("{\"case\":\"%s page\",\"opened\":%s,\"elements_read_back\":%lld}\n",
                qPrintable(label), opened ? "true" : "false",
                static_cast<long long>(read.count(QStringLiteral("<DIV>"))));
    std::fflush(stdout);
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
            const Trial ours =
                timed([&] { result = replaceAll(source, QStringLiteral("TD"), replacement); });
            const Trial qt = timed([&] {
                result = source;
                result.replace(QStringLiteral("TD"), replacement);
            });
            report(QStringLiteral("bulk replace TD by %1 vs QString::replace").arg(replacement),
                   QStringLiteral("%1M chars").arg(size >> 20), compare(ours, qt));
        }
    }
}

} // namespace lumipage::bench
