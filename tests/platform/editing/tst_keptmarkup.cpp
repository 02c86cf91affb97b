// Saving keeps the author's markup: unedited pages come back byte for byte, one edit
// changes only the edited element's lines, and a page the parser reads otherwise than
// the engine is written whole as before.
#include "support/testsupport.h"

#include "platform/editing/keptmarkup.h"
#include "platform/editing/sourcetree.h"
#include "platform/editing/textcodec.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

namespace
{

const QStringList kCorpus = {"modern.htm", "xhtml.htm", "svgmath.htm", "legacy.htm",
                             "sjis.htm",   "eucjp.htm", "stray.htm"};

QList<QByteArray> linesOf(const QByteArray &bytes)
{
    return bytes.split('\n');
}

// How many of the original's lines come back unchanged in `saved`.
int linesKept(const QByteArray &original, const QByteArray &saved)
{
    QList<QByteArray> left = linesOf(saved);
    int kept = 0;
    for (const QByteArray &line : linesOf(original))
        if (left.removeOne(line))
            ++kept;
    return kept;
}

// The original's lines [first, last] that differ in `saved`, past the common beginning
// and end; {-1, -1} when nothing differs.
std::pair<int, int> changedLines(const QByteArray &original, const QByteArray &saved)
{
    const QList<QByteArray> a = linesOf(original), b = linesOf(saved);
    int head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    int tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    if (head == a.size() && head == b.size())
        return {-1, -1};
    return {head, int(a.size()) - 1 - tail};
}

// The lines of `bytes` holding the element whose start tag has `marker`, through its end
// tag `endTag` (on the same line or later).
std::pair<int, int> elementLines(const QByteArray &bytes, const QByteArray &marker,
                                 const QByteArray &endTag)
{
    const QList<QByteArray> lines = linesOf(bytes);
    int first = -1;
    for (int k = 0; k < lines.size(); ++k) {
        if (first < 0 && lines[k].toLower().contains(marker.toLower()))
            first = k;
        if (first >= 0 && lines[k].toLower().contains(endTag.toLower()))
            return {first, k};
    }
    return {first, first};
}

} // namespace

class TestKeptMarkup : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;
    QTemporaryDir m_dir;

    QWidget *surface() { return m_editor->findChild<QWebEngineView *>()->focusProxy(); }

    // Opens a corpus page from a copy in the temporary folder; its original bytes.
    QByteArray open(const QString &name)
    {
        const QByteArray bytes = readBytes(dataFile("kept/" + name));
        writeBytes(m_dir.filePath(name), bytes);
        if (!loadAndWait(*m_editor, m_dir.filePath(name)))
            return {};
        return bytes;
    }
    QByteArray save(const QString &name)
    {
        if (!m_editor->SaveDocument(m_dir.filePath(name)))
            return {};
        return readBytes(m_dir.filePath(name));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_editor = shownEditor();
    }
    void cleanupTestCase() { m_editor.reset(); }
    void init() { m_editor->setKeepMarkup(true); }

    void regionsAreWhatTheSourceHoldsWhole()
    {
        const QByteArray page = "<title>t</title><div><p>a</p><svg><circle/></svg></div>"
                                "<table><tr><td>x</td></tr></table>";
        KeptMarkup kept;
        kept.reset(page, "UTF-8", QString::fromUtf8(page));
        // 0 html, 1 head, 2 title, 3 body, 4 div, 5 p, 6 svg, 7 circle, 8 table, 9 tbody,
        // 10 tr, 11 td. A start tag the parser implied is written with its parent's content;
        // foreign elements with the nearest HTML element's content;
        // nothing inside content that is written anew.
        using R = std::vector<MarkupRegion>;
        QCOMPARE(*kept.regions({{3, true, false}}), (R{{0, true}}));
        QCOMPARE(*kept.regions({{7, true, false}, {5, false, true}}), (R{{4, true}}));
        QCOMPARE(*kept.regions({{9, false, true}, {11, true, false}}), (R{{9, true}}));
        QCOMPARE(*kept.regions({{11, true, true}}), (R{{11, false}, {11, true}}));
        // Part of a content: after a child the parser has closed, or whose end the next
        // start tag implies with nothing else left open inside it; else all of it.
        QCOMPARE(*kept.regions({{4, false, false, {{5, 6}}}}), (R{{4, true, true, 5, 6}}));
        KeptMarkup open;
        const QByteArray lists = "<div><p>a<p>b</div><ul><li><p>c<li>d</ul>";
        open.reset(lists, "UTF-8", lists); // 3 div, 4 p, 5 p, 6 ul, 7 li, 8 p, 9 li
        QCOMPARE(*open.regions({{3, false, false, {{4, 5}}}}), (R{{3, true, true, 4, 5}}));
        QCOMPARE(*open.regions({{6, false, false, {{7, 9}}}}), (R{{6, true}}));

        // The written bytes must read back as the page, or there are none.
        const QByteArray edited = QByteArray(page).replace("<p>a</p>", "<p>b<b>c</b></p>");
        const QString html = SourceTree(sourcemap::SourceText{{}, edited, {}}).documentHtml();
        QString why;
        QCOMPARE(kept.write({{5, true}}, {"b<b>c</b>"}, html, {}, &why).value_or(""), edited);
        QVERIFY(!kept.write({{5, true}}, {"b"}, html, {}, &why));
        QVERIFY(!why.isEmpty());
    }

    void stretchesThatWouldReadOtherwiseAreNotKept()
    {
        // Each page as loaded, the stretch edited, its new markup, and the page as the
        // engine then holds it; the parser would read the kept bytes otherwise.
        struct Case {
            QByteArray page;
            MarkupRegion region; // ordinals: 0 html, 1 head, 2 body, 3 p, …
            QString content, engine;
        };
        const Case cases[] = {
            // The bold left open by </p> comes back around text typed into the empty div.
            {"<p><b>bold</p><div></div>", {5, true}, "x", "<p><b>bold</b></p><div>x</div>"},
            // A block put into a paragraph by script closes the paragraph when read.
            {"<p>a</p>", {3, true}, "<div>x</div>", "<p><div>x</div></p>"},
            // A table cell's content run out of its row.
            {"<table><tr><td>a</td></tr></table>",
             {7, true},
             "b</td><td>c",
             "<table><tr><td>b</td><td>c</td></tr></table>"},
            // Text put after a paragraph without an end tag goes into that paragraph.
            {"<div><p>a<p>b</div>", {3, true, true, 4, 5}, "x", "<div><p>a</p>x<p>b</p></div>"},
        };
        for (const Case &c : cases) {
            KeptMarkup kept;
            kept.reset(c.page, "UTF-8", QString::fromUtf8(c.page));
            QString html = SourceTree(sourcemap::SourceText{{}, c.page, {}}).documentHtml();
            if (c.engine.contains("<div>x</div></p>"))
                html.replace("<P>a</P>", "<P><DIV>x</DIV></P>");
            else if (c.engine.contains("</p>x<p>"))
                html.replace("<P>a</P><P>b", "<P>a</P>x<P>b");
            else
                html = SourceTree(sourcemap::SourceText{{}, c.engine.toUtf8(), {}}).documentHtml();
            QString why;
            const std::optional<QByteArray> bytes =
                kept.write({c.region}, {c.content}, html, {}, &why);
            QVERIFY2(!bytes, bytes ? bytes->constData() : "");
            QVERIFY(!why.isEmpty());
        }
    }

    void bytesMapBackThroughTwoByteAndBadCharacters()
    {
        // ㈱ in its IBM form (the converter writes the NEC one), then a byte no character
        // begins with: each is one character of the text, and offsets lead back to them.
        const QByteArray page = "<p>\xfa\x58\xff</p>";
        const QString text = textcodec::decode(page, "windows-31j")->text;
        QCOMPARE(text, QStringLiteral("<p>\u3231\uFFFD</p>"));
        const std::optional<sourcemap::SourceText> source =
            sourcemap::map(page, "windows-31j", text);
        QVERIFY(source);
        QCOMPARE(source->toOriginal(3 + 3), qsizetype(5));     // after ㈱ (3 UTF-8 bytes)
        QCOMPARE(source->toOriginal(3 + 3 + 3), qsizetype(6)); // after U+FFFD: at </p>
        QVERIFY(!sourcemap::map(page, "ISO-2022-JP", text));   // no offsets without state
    }

    void unchangedPagesComeBackByteForByte()
    {
        int lines = 0, keptBefore = 0, keptAfter = 0;
        for (const QString &name : kCorpus) {
            const QByteArray original = open(name);
            QVERIFY2(!original.isEmpty(), qPrintable(name));
            const QByteArray saved = save(name);
            QVERIFY2(saved == original, qPrintable(name + ": " + m_editor->keptMarkupFallback() +
                                                   "\n" + QString::fromUtf8(saved)));
            // The source window shows the same text.
            QCOMPARE(m_editor->preservedHTML(),
                     textcodec::decode(original, m_editor->documentEncoding())->text);
            // Today's whole rewrite, for the share of lines it keeps.
            m_editor->setKeepMarkup(false);
            const QByteArray rewritten = save(name);
            QCOMPARE(rewritten,
                     textcodec::encode(m_editor->DocumentHTML(), m_editor->documentEncoding()));
            m_editor->setKeepMarkup(true);
            lines += linesOf(original).size();
            keptBefore += linesKept(original, rewritten);
            keptAfter += linesKept(original, saved);
        }
        qInfo("lines kept by a save without edits: %d of %d before, %d of %d now", keptBefore,
              lines, keptAfter, lines);
    }

    void oneEditChangesOnlyThatElement_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QByteArray>("marker"); // the edited element's start and end
        QTest::addColumn<QByteArray>("endTag");
        // The legacy page's paragraph has no end tag: it ends where the next one begins.
        const auto firstEnd = [](const QString &page) {
            return QByteArray(page == "legacy.htm" ? "<p>links" : "</p>");
        };
        for (const QString &page : kCorpus)
            QTest::addRow("%s typed", qPrintable(page))
                << page << "type" << QByteArray("id=\"first\"") << firstEnd(page);
        // A new paragraph: the body's other children stay as they were written.
        for (const QString &page : {"modern.htm", "xhtml.htm", "legacy.htm"})
            QTest::addRow("%s new paragraph", qPrintable(page))
                << page << "enter" << QByteArray("id=\"first\"") << firstEnd(page);
        for (const QString &page : {"modern.htm", "legacy.htm", "sjis.htm"}) {
            QTest::addRow("%s pasted", qPrintable(page))
                << page << "paste" << QByteArray("id=\"first\"") << firstEnd(page);
            QTest::addRow("%s row", qPrintable(page))
                << page << "row" << QByteArray("<tr") << QByteArray("</table>");
            QTest::addRow("%s positioned", qPrintable(page))
                << page << "position" << QByteArray("id=\"box\"") << QByteArray("id=\"box\"");
            QTest::addRow("%s effect", qPrintable(page))
                << page << "effect" << QByteArray("id=\"box\"") << QByteArray("</div>");
        }
    }
    void oneEditChangesOnlyThatElement()
    {
        QFETCH(QString, page);
        QFETCH(QString, edit);
        QFETCH(QByteArray, marker);
        QFETCH(QByteArray, endTag);
        const QByteArray original = open(page);
        QVERIFY(!original.isEmpty());
        const char *id = edit == "row"                                          ? "cell"
                         : edit == "type" || edit == "paste" || edit == "enter" ? "first"
                                                                                : "box";
        QVERIFY(selectIn(*m_editor, id, 1, 1));
        if (edit == "type" || edit == "enter") {
            // The page takes the keyboard after a click, in the element to type into.
            const QVariantMap box = m_editor->call("elementInfo", {id}).value.toMap();
            QVERIFY(clickPage(*m_editor, QPoint(qRound(box.value("left").toDouble()) + 2,
                                                qRound(box.value("top").toDouble()) + 2)));
            QVERIFY(selectIn(*m_editor, id, 1, 1));
            if (edit == "enter")
                QTest::keyClick(surface(), Qt::Key_Return);
            QTest::keyClicks(surface(), "word");
            QTRY_VERIFY(m_editor->DocumentHTML().contains("word"));
            if (edit == "enter")
                QVERIFY(m_editor->DocumentHTML().contains(QRegularExpression("</P><P[^>]*>word")));
        } else if (edit == "paste") {
            QVERIFY(m_editor->pasteHTML("<B>pasted</B>"));
        } else if (edit == "row") {
            QVERIFY(m_editor->ExecCommand(decmd::INSERTROW, OptionPrompt));
        } else if (edit == "position") {
            QVERIFY(m_editor->ExecCommand(decmd::MAKE_ABSOLUTE, OptionPrompt));
            QVERIFY(m_editor->DocumentHTML().contains("position: absolute"));
        } else {
            QVERIFY(m_editor->pasteHTML(
                "<DIV id=veld style=\"width:100%;filter:revealtrans(transition=3)\">fx</DIV>"));
        }
        const QString html = m_editor->DocumentHTML();
        const QByteArray saved = save(page);
        QVERIFY2(!m_editor->keptMarkupFallback().size(),
                 qPrintable(m_editor->keptMarkupFallback()));
        QCOMPARE(m_editor->keptMarkupCheck(), KeptMarkup::Check::InPlace); // no second parse
        const auto [from, to] = changedLines(original, saved);
        const auto [first, last] = elementLines(original, marker, endTag);
        QVERIFY2(from >= first && to <= last && from >= 0,
                 qPrintable(QStringLiteral("lines %1-%2 changed, element on %3-%4:\n%5")
                                .arg(from)
                                .arg(to)
                                .arg(first)
                                .arg(last)
                                .arg(QString::fromUtf8(saved))));
        // Written anew in the page's own style: its line ends, the case of its names.
        const QList<QByteArray> lines = linesOf(saved);
        for (qsizetype k = 0; k + 1 < lines.size(); ++k)
            QCOMPARE(lines[k].endsWith('\r'), original.contains("\r\n"));
        if (edit == "paste")
            QVERIFY(saved.contains(page == "modern.htm" ? "<b>pasted</b>" : "<B>pasted</B>"));
        if (edit == "type") {
            m_editor->setKeepMarkup(false);
            qInfo("%s, one word typed: %d of %lld lines kept, %d by the whole rewrite",
                  qPrintable(page), linesKept(original, saved), linesOf(original).size(),
                  linesKept(original, save(page)));
        }
        // And it reads back as the page that was saved.
        QVERIFY(loadAndWait(*m_editor, m_dir.filePath(page)));
        QCOMPARE(m_editor->DocumentHTML(), html);
    }

    void pageReadOtherwiseIsWrittenWhole()
    {
        // Nested deeper than the engine nests: its tree is not the parser's.
        const QByteArray original = open("deep.htm");
        QVERIFY(!original.isEmpty());
        QVERIFY(selectIn(*m_editor, "first", 1, 1)); // an edit away from the deep part
        QVERIFY(m_editor->pasteHTML("<B>x</B>"));
        const QString html = m_editor->DocumentHTML();
        const QByteArray saved = save("deep.htm");
        QVERIFY(!m_editor->keptMarkupFallback().isEmpty());
        QCOMPARE(saved, html.toUtf8());
        QVERIFY(loadAndWait(*m_editor, m_dir.filePath("deep.htm")));
        QCOMPARE(m_editor->DocumentHTML(), html);
    }

    void textStraightInTheBodyChangesOnlyItself()
    {
        // As 1990s pages hold it: typing there rewrites that text, not the whole body.
        const QString page =
            "<HTML><BODY ID=\"top\">\r\nWelcome to my page!<BR>\r\n"
            "<IMG SRC=\"a.gif\" ALT=\"\">\r\nMore &amp; more<P>End\r\n</BODY></HTML>";
        QVERIFY(setHtmlAndWait(*m_editor, page));
        QVERIFY(clickPage(*m_editor, QPoint(12, 12)));
        QVERIFY(selectIn(*m_editor, "top", 2, 2));
        QTest::keyClicks(surface(), "word");
        QTRY_VERIFY(m_editor->DocumentHTML().contains("Wwordelcome"));
        QCOMPARE(QString::fromUtf8(save("straight.htm")),
                 QString(page).replace("Welcome", "Wwordelcome"));
        QCOMPARE(m_editor->keptMarkupCheck(), KeptMarkup::Check::InPlace);
    }

    void replacedPageKeepsTheAppliedText()
    {
        // A page replaced from the source window: the applied text is the new original.
        QVERIFY(!open("modern.htm").isEmpty());
        const QString applied = m_editor->preservedHTML().replace("Field notes</h1>", "Notes</h1>");
        QVERIFY(setHtmlAndWait(*m_editor, applied));
        QCOMPARE(save("modern.htm"), applied.toUtf8());
    }
};

LUMIPAGE_TEST_MAIN(TestKeptMarkup)
#include "tst_keptmarkup.moc"
