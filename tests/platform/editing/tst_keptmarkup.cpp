// Saving keeps the author's markup: unedited pages come back byte for byte, one edit
// changes only the edited element's lines, and a page the parser reads otherwise than
// the engine is written whole as before.
#include "support/testsupport.h"

#include "platform/editing/webengineeditingcomponent.h"
#include "platform/markup/keptmarkup.h"
#include "platform/markup/sourcemapescapes.h"
#include "platform/markup/textcodec.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

namespace
{

const QStringList kCorpus = {"modern.htm",    "xhtml.htm", "svgmath.htm",  "legacy.htm",
                             "sjis.htm",      "eucjp.htm", "stray.htm",    "contact.htm",
                             "forms.htm",     "lists.htm", "docbook.htm",  "xhtmljp.htm",
                             "iso2022jp.htm", "code.htm",  "bodytext.htm", "misnested.htm"};

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
            return QByteArray(page == "legacy.htm"    ? "<p>links"
                              : page == "docbook.htm" ? "</p"
                              : page == "forms.htm"   ? "</legend>"
                              : page == "contact.htm" ? "</h1>"
                                                      : "</p>");
        };
        for (const QString &page : kCorpus)
            QTest::addRow("%s typed", qPrintable(page))
                << page << "type" << QByteArray("id=\"first\"") << firstEnd(page);
        // A new paragraph: the body's other children stay as they were written.
        for (const QString &page : {"modern.htm", "xhtml.htm", "legacy.htm"})
            QTest::addRow("%s new paragraph", qPrintable(page))
                << page << "enter" << QByteArray("id=\"first\"") << firstEnd(page);
        QTest::addRow("forms.htm pasted")
            << "forms.htm"
            << "paste" << QByteArray("id=\"first\"") << firstEnd("forms.htm");
        QTest::addRow("xhtmljp.htm pasted")
            << "xhtmljp.htm"
            << "paste" << QByteArray("id=\"first\"") << firstEnd("xhtmljp.htm");
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
            // Some pages hold the word already (a password field): the wait is for one more.
            const qsizetype words = m_editor->DocumentHTML().count("word");
            if (edit == "enter")
                QTest::keyClick(surface(), Qt::Key_Return);
            QTest::keyClicks(surface(), "word");
            QTRY_COMPARE(m_editor->DocumentHTML().count("word"), words + 1);
            if (edit == "enter")
                QVERIFY(m_editor->DocumentHTML().contains(QRegularExpression("</P><P[^>]*>word")));
        } else if (edit == "paste") {
            QVERIFY(m_editor->pasteHTML("<B>pasted</B><A HREF=x.htm>link</A><BR>"));
        } else if (edit == "row") {
            QVERIFY(m_editor->ExecCommand(decmd::INSERTROW, CommandOption::Prompt));
        } else if (edit == "position") {
            QVERIFY(m_editor->ExecCommand(decmd::MAKE_ABSOLUTE, CommandOption::Prompt));
            QVERIFY(m_editor->DocumentHTML().contains("position: absolute"));
        } else {
            QVERIFY(m_editor->pasteHTML(
                "<DIV id=veld style=\"width:100%;filter:revealtrans(transition=3)\">fx</DIV>"));
        }
        const QString html = m_editor->DocumentHTML();
        const QByteArray saved = save(page);
        QVERIFY2(!m_editor->keptMarkupFallback().size(),
                 qPrintable(m_editor->keptMarkupFallback()));
        const auto [from, to] = changedLines(original, saved);
        const auto [first, last] = elementLines(original, marker, endTag);
        QVERIFY2(from >= first && to <= last && from >= 0,
                 qPrintable(QStringLiteral("lines %1-%2 changed, element on %3-%4:\n%5")
                                .arg(from)
                                .arg(to)
                                .arg(first)
                                .arg(last)
                                .arg(QString::fromUtf8(saved))));
        // No second parse, but in an encoding whose bytes read by the state around them.
        // In an encoding whose bytes read by the state around them, or on a page whose
        // parse carries misnested formatting from one element into the next, the written
        // page is read again whole.
        QCOMPARE(m_editor->keptMarkupCheck(),
                 sourcemap::hasEscapeState(m_editor->documentEncoding()) || page == "misnested.htm"
                     ? KeptMarkup::Check::Whole
                     : KeptMarkup::Check::InPlace);
        // Written anew in the page's own style: its line ends, the case of its names.
        const QList<QByteArray> lines = linesOf(saved);
        for (qsizetype k = 0; k + 1 < lines.size(); ++k)
            QCOMPARE(lines[k].endsWith('\r'), original.contains("\r\n"));
        if (edit == "paste") {
            // These pages quote their values; an XHTML page closes its void elements.
            QByteArray pasted = original.contains("<html")
                                    ? "<b>pasted</b><a href=\"x.htm\">link</a><br>"
                                    : "<B>pasted</B><A href=\"x.htm\">link</A><BR>";
            if (original.startsWith("<?xml"))
                pasted.replace("<br>", "<br />");
            QVERIFY2(saved.contains(pasted), saved.constData());
        }
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

    void enterInHighlightedCodeKeepsItsTokens()
    {
        // A new line in the middle of a highlighted line: the tokens' tags stay as written.
        const QByteArray original = open("code.htm");
        QVERIFY(!original.isEmpty());
        const QVariantMap box = m_editor->call("elementInfo", {"code"}).value.toMap();
        QVERIFY(clickPage(*m_editor, QPoint(qRound(box.value("left").toDouble()) + 2,
                                            qRound(box.value("top").toDouble()) + 2)));
        QVERIFY(selectIn(*m_editor, "code", 2, 2));
        const qsizetype before = m_editor->DocumentHTML().count(u'x'); // the page has some
        QTest::keyClick(surface(), Qt::Key_Return);
        QTest::keyClicks(surface(), "x");
        QTRY_VERIFY(m_editor->DocumentHTML().count(u'x') > before);
        const QString html = m_editor->DocumentHTML();
        const QByteArray saved = save("code.htm");
        QVERIFY2(m_editor->keptMarkupFallback().isEmpty(),
                 qPrintable(m_editor->keptMarkupFallback()));
        const auto [from, to] = changedLines(original, saved);
        const int line = int(original.left(original.indexOf("id=\"code\"")).count('\n'));
        QVERIFY2(from == line && to == line, saved.constData());
        // The token split in two: its copy is the one tag written anew.
        QCOMPARE(saved.count("<span class=\""), original.count("<span class=\"") + 1);
        QVERIFY(saved.contains("<span class=nb>cat</span> <span class='s2'>"));
        QVERIFY(loadAndWait(*m_editor, m_dir.filePath("code.htm")));
        QCOMPARE(m_editor->DocumentHTML(), html);
    }

    void enterSplitsOnlyItsLooseLine_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QByteArray>("marker"); // on the one line that may change
        // Lines of fonts and links separated by <BR> in a CENTER; lines straight in the
        // body, the selection across a font's end deleted first.
        QTest::newRow("center") << "head" << 10 << 10 << QByteArray("SIZE=2");
        QTest::newRow("body") << "top" << 56 << 59 << QByteArray("COLOR=RED");
    }
    void enterSplitsOnlyItsLooseLine()
    {
        QFETCH(QString, id);
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QByteArray, marker);
        const QByteArray original = open("bodytext.htm");
        QVERIFY(!original.isEmpty());
        QVERIFY(clickPage(*m_editor, QPoint(5, 5)));
        QVERIFY(selectIn(*m_editor, id, start, end));
        const qsizetype before = m_editor->DocumentHTML().count(u'x'); // "index.htm" has one
        if (start != end)
            QTest::keyClick(surface(), Qt::Key_Backspace);
        QTest::keyClick(surface(), Qt::Key_Return);
        QTest::keyClicks(surface(), "x");
        QTRY_VERIFY(m_editor->DocumentHTML().count(u'x') > before);
        const QString html = m_editor->DocumentHTML();
        const QByteArray saved = save("bodytext.htm");
        QVERIFY2(m_editor->keptMarkupFallback().isEmpty(),
                 qPrintable(m_editor->keptMarkupFallback()));
        const auto [from, to] = changedLines(original, saved);
        const int line = int(original.left(original.indexOf(marker)).count('\n'));
        // In the body the engine puts what follows the new line into a DIV to the body's
        // end, whose end tag the last lines take: the lines between stay as written.
        const QList<QByteArray> lines = linesOf(original);
        const int last = id == "top" ? int(lines.size()) - 4 : line;
        QVERIFY2(saved.contains(lines.mid(line + 1, last - line).join('\n')),
                 qPrintable(textcodec::decode(saved, "windows-31j")->text));
        QVERIFY2(from == line && to <= (id == "top" ? int(lines.size()) - 1 : line),
                 qPrintable(QStringLiteral("lines %1-%2 changed, not %3:\n%4")
                                .arg(from)
                                .arg(to)
                                .arg(line)
                                .arg(QString::fromUtf8(saved))));
        QVERIFY(loadAndWait(*m_editor, m_dir.filePath("bodytext.htm")));
        QCOMPARE(m_editor->DocumentHTML(), html);
    }

    void typingIntoMisnestedFormattingChangesOnlyItsLine_data()
    {
        QTest::addColumn<int>("at"); // in the body's text
        QTest::addColumn<QByteArray>("marker");
        // A link whose <B><U> are closed only in the next paragraph; that paragraph; a
        // FONT opened in one paragraph and closed in the next; that next one.
        QTest::newRow("link") << 21 << QByteArray("member.htm");
        QTest::newRow("after the link") << 26 << QByteArray("</B></U></P>");
        QTest::newRow("font") << 43 << QByteArray("#FF0000");
        QTest::newRow("after the font") << 48 << QByteArray("</FONT></P>");
        // Bold and underline never closed: the parser copies them into all that follows.
        QTest::newRow("never closed") << 56 << QByteArray("link.htm");
        QTest::newRow("after never closed") << 62 << QByteArray("<P>\xba\xc7");
        QTest::newRow("cell after never closed") << 70 << QByteArray("<TABLE");
    }
    void typingIntoMisnestedFormattingChangesOnlyItsLine()
    {
        QFETCH(int, at);
        QFETCH(QByteArray, marker);
        const QByteArray original = open("misnested.htm");
        QVERIFY(!original.isEmpty());
        QVERIFY(clickPage(*m_editor, QPoint(5, 5)));
        QVERIFY(selectIn(*m_editor, "top", at, at));
        QTest::keyClicks(surface(), "word");
        QTRY_VERIFY(m_editor->DocumentHTML().contains("word"));
        const QString html = m_editor->DocumentHTML();
        const QByteArray saved = save("misnested.htm");
        QVERIFY2(m_editor->keptMarkupFallback().isEmpty(),
                 qPrintable(m_editor->keptMarkupFallback()));
        const auto [from, to] = changedLines(original, saved);
        const int line = int(original.left(original.indexOf(marker)).count('\n'));
        QVERIFY2(from == line && to == line,
                 qPrintable(QStringLiteral("lines %1-%2 changed, not %3:\n%4")
                                .arg(from)
                                .arg(to)
                                .arg(line)
                                .arg(textcodec::decode(saved, "EUC-JP")->text)));
        QVERIFY(loadAndWait(*m_editor, m_dir.filePath("misnested.htm")));
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
