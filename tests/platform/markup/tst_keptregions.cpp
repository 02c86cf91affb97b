// The kept-markup splice without the engine: which stretches of the original a set of
// changes writes anew, what the written bytes must read back as, and how offsets in the
// decoded text lead back to the original bytes.
#include "platform/markup/keptmarkup.h"
#include "platform/markup/sourcemapescapes.h"
#include "platform/markup/sourcetree.h"
#include "platform/markup/textcodec.h"
#include "platform/markup/writtenstyle.h"

#include <QTest>

using namespace lumipage;

class TestKeptRegions : public QObject
{
    Q_OBJECT

private slots:
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
        // Text put after a paragraph whose end the next one implied would go into it: the
        // paragraph's end tag is written first.
        const QByteArray textAfter = QByteArray(lists).replace("a<p>", "a</p>x<p>");
        QString why;
        QCOMPARE(open.write({{3, true, true, 4, 5}}, {"x"},
                            SourceTree(sourcemap::SourceText{{}, textAfter, {}}).documentHtml(), {},
                            &why)
                     .value_or(why.toUtf8()),
                 textAfter);
        // Between two children read where they stand, in a body whose paragraph the parser
        // moved out of a misnested bold: 3 b, 4 p (moved), 5 b, 6 div, 7 hr.
        KeptMarkup misnested;
        const QByteArray moved = "<body><b><p>x</b>y</p><div>d</div>\n<hr>";
        misnested.reset(moved, "UTF-8", moved);
        QCOMPARE(*misnested.regions({{2, false, false, {{6, 7}}}}), (R{{2, true, true, 6, 7}}));
        QCOMPARE(*misnested.regions({{2, false, false, {{3, 6}}}}), (R{{0, true}}));

        // The written bytes must read back as the page, or there are none.
        const QByteArray edited = QByteArray(page).replace("<p>a</p>", "<p>b<b>c</b></p>");
        const QString html = SourceTree(sourcemap::SourceText{{}, edited, {}}).documentHtml();
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
        };
        for (const Case &c : cases) {
            KeptMarkup kept;
            kept.reset(c.page, "UTF-8", QString::fromUtf8(c.page));
            QString html = SourceTree(sourcemap::SourceText{{}, c.page, {}}).documentHtml();
            if (c.engine.contains("<div>x</div></p>"))
                html.replace("<P>a</P>", "<P><DIV>x</DIV></P>");
            else
                html = SourceTree(sourcemap::SourceText{{}, c.engine.toUtf8(), {}}).documentHtml();
            QString why;
            const std::optional<QByteArray> bytes =
                kept.write({c.region}, {c.content}, html, {}, &why);
            QVERIFY2(!bytes, bytes ? bytes->constData() : "");
            QVERIFY(!why.isEmpty());
        }
    }

    void aMisnestedFontKeepsWhatIsAroundAnEdit()
    {
        // </font> inside the second paragraph: the parser moves that paragraph out of the
        // font, which it closes there without an end, and puts a copy of the font (with the
        // original's start tag) around the paragraph's content.
        // 0 html, 1 head, 2 body, 3 font, 4 p, 5 p (moved), 6 font (the copy), 7 div.
        const QByteArray page = "<body><font size=2><p>a<p>b</font><div>d</div>";
        KeptMarkup kept;
        kept.reset(page, "UTF-8", QString::fromUtf8(page));
        const SourceElement &copy = kept.tree().elements().at(6);
        QVERIFY(copy.cloned && copy.contiguous);
        QCOMPARE(page.mid(copy.innerStart, copy.innerEnd - copy.innerStart), "b");
        // The copy's content alone; its start tag is the original's, so a change to it is
        // written with what holds both.
        using R = std::vector<MarkupRegion>;
        QCOMPARE(*kept.regions({{6, false, true}}), (R{{6, true}}));
        QCOMPARE(*kept.regions({{6, true, false}}), (R{{0, true}}));
        // A paragraph put before the first in the font: only the start of its content.
        QCOMPARE(*kept.regions({{3, false, false, {{-1, 4}}}}), (R{{3, true, true, -1, 4}}));

        const auto written = [&](const MarkupRegion &region, const QString &markup,
                                 const QByteArray &edited) {
            const QString html = SourceTree(sourcemap::SourceText{{}, edited, {}}).documentHtml();
            QString why;
            return kept.write({region}, {markup}, html, {}, &why).value_or(why.toUtf8());
        };
        QByteArray edited = QByteArray(page).replace("b</font>", "b c</font>");
        QCOMPARE(written({6, true}, "b c", edited), edited);
        edited = QByteArray(page).replace("<p>a", "<p>new</p><p>a");
        QCOMPARE(written({3, true, true, -1, 4}, "<p>new</p>", edited), edited);
    }

    void aParagraphMovedOutOfABoldBoundsThePartAroundAFont()
    {
        // The first paragraph the parser moved out of the bold its </b> closes, and ended
        // by its own </p>; the font left open in the next paragraph is copied into the third.
        // 0 html, 1 head, 2 body, 3 b, 4 p (moved), 5 b (copy), 6 p, 7 font, 8 p,
        // 9 font (copy), 10 div, 11 p.
        const QByteArray page =
            "<body><b><p>x</b>y</p><p>a<font>b</p><p>c</font></p><div>d</div><p>e</p>";
        KeptMarkup kept;
        kept.reset(page, "UTF-8", QString::fromUtf8(page));
        // An edit in the third paragraph writes the body from the moved paragraph's end to
        // the div (the font's tags and both copies' places), not the whole page.
        using R = std::vector<MarkupRegion>;
        QCOMPARE(*kept.regions({{8, false, false, {{-1, -1}}}}), (R{{2, true, true, 4, 10}}));
        const QByteArray edited = QByteArray(page).replace("c</font>", "c</font> new");
        QString why;
        QCOMPARE(kept.write({{2, true, true, 4, 10}},
                            {"<p>a<font>b</font></p><p><font>c</font> new</p>"},
                            SourceTree(sourcemap::SourceText{{}, edited, {}}).documentHtml(), {},
                            &why)
                     .value_or(why.toUtf8()),
                 QByteArray(page).replace("<p>a<font>b</p><p>c</font></p>",
                                          "<p>a<font>b</font></p><p><font>c</font> new</p>"));
    }

    void aBoldLeftOpenToTheBodysEndBoundsThePartAtTheEnd()
    {
        // A link closes the bold inside it, which the parser then copies into every block
        // to the body's end, the line ends after </body> and </html> included: no sibling
        // after an edit stands in place. An edit in the div writes from the paragraph closed
        // by its own end tag to the body's end, not the whole page.
        const QByteArray page = "<body><p>x</p><p><a href=l><b>t</a>\n<p>u\n<div>d</div>\n"
                                "</body>\n</html>\n";
        // 0 html, 1 head, 2 body, 3 p, 4 p, 5 a, 6 b, 7 b (copy), 8 p, 9 b (copy), 10 div,
        // 11 b (copy), 12 b (copy, to the end).
        KeptMarkup kept;
        kept.reset(page, "UTF-8", QString::fromUtf8(page));
        using R = std::vector<MarkupRegion>;
        QCOMPARE(*kept.regions({{10, false, true}}), (R{{2, true, true, 3, -1}}));
        const QByteArray edited = QByteArray(page).replace("d</div>", "d e</div>");
        QString why;
        QCOMPARE(kept.write({{2, true, true, 3, -1}},
                            {"<p><a href=\"l\"><b>t</b></a><b>\n</b></p><p><b>u\n</b></p>"
                             "<div><b>d e</b></div><b>\n\n\n</b>"},
                            SourceTree(sourcemap::SourceText{{}, edited, {}}).documentHtml(), {},
                            &why)
                     .value_or(why.toUtf8()),
                 "<body><p>x</p><p><a href=l><b>t</b></a><b>\n</b></p><p><b>u\n</b></p><div><b>d "
                 "e</b></div><b>\n\n\n</b></body></html>");
    }

    void aCopysLineEndIsNotWhiteSpaceAfterItsEnd()
    {
        // The parser copies a font left open by </p> around the line end before the next
        // paragraph, with the original's end; that line end is the copy's content, not
        // white space after an end tag of its own. A link around it writes the body from
        // the first paragraph to the div.
        const QByteArray page = "<body><p>0</p><p>a<font color=red>b</p>\n<p>c</font></p>"
                                "<div>d</div>";
        // 0 html, 1 head, 2 body, 3 p, 4 p, 5 font, 6 font (copy), 7 p (moved), 8 font (copy)
        KeptMarkup kept;
        kept.reset(page, "UTF-8", QString::fromUtf8(page));
        QVERIFY(kept.tree().elements().at(6).tail.isEmpty());
        using R = std::vector<MarkupRegion>;
        QCOMPARE(*kept.regions({{6, false, true}}), (R{{2, true, true, 3, 9}}));
        const QByteArray edited = QByteArray(page).replace(
            "</p>\n<p>c</font></p>", "</font></p><font color=red><a href=x>\n</a></font><p>"
                                     "<font color=red>c</font></p>");
        QString why;
        QCOMPARE(kept.write({{2, true, true, 3, 9}},
                            {"<p>a<font color=\"red\">b</font></p><font color=\"red\"><a "
                             "href=\"x\">\n</a></font><p><font color=\"red\">c</font></p>"},
                            SourceTree(sourcemap::SourceText{{}, edited, {}}).documentHtml(), {},
                            &why)
                     .value_or(why.toUtf8()),
                 edited);
    }

    void whiteSpaceAfterTheLastEndTagsIsWrittenOnce()
    {
        // The last paragraph has no end tag: the parser reads the line ends after </body>
        // and </html> into it. Written anew up to the body's end, the content holds them
        // already, and those end tags follow without them.
        const QByteArray page = "<html><body><p>a<p>b\n</body>\n</html>\n";
        KeptMarkup kept;
        kept.reset(page, "UTF-8", QString::fromUtf8(page)); // 0 html, 1 head, 2 body, 3 p, 4 p
        const QByteArray edited = "<html><body><p>a</p><p>b c\n\n\n</p></body></html>";
        const QString html = SourceTree(sourcemap::SourceText{{}, edited, {}}).documentHtml();
        QString why;
        QCOMPARE(kept.write({{2, true, true, 3, -1}}, {"<p>b c\n\n\n</p>"}, html, {}, &why)
                     .value_or(why.toUtf8()),
                 edited);
        // The paragraph's own content written anew: the end tags it runs over stay as
        // written, with the line ends around them.
        const QByteArray crlf = QByteArray(page).replace("\n", "\r\n");
        KeptMarkup open;
        open.reset(crlf, "UTF-8", QString::fromUtf8(crlf));
        QCOMPARE(open.write({{4, true}}, {"b c\n\n\n"}, html, {}, &why).value_or(why.toUtf8()),
                 QByteArray(crlf).replace("b\r\n", "b c\r\n"));
    }

    void aFormEndsAtItsEndTag()
    {
        // The parser puts the text before </form> after the form, and gives the form no
        // end; the engine keeps the text in the form, and so does the source tree.
        const QByteArray page = "<body><form action=a>\n<input name=q> x &amp; y\n</FORM >"
                                "\nafter</body>"; // 0 html, 1 head, 2 body, 3 form, 4 input
        const SourceTree tree(sourcemap::SourceText{{}, page, {}});
        QVERIFY(tree.documentHtml().contains(
            "<FORM action=a>\n<INPUT name=q> x &amp; y\n</FORM>\nafter</BODY>"));
        const SourceElement &form = tree.elements().at(3);
        QVERIFY(form.endTag && form.contiguous && tree.wellNested());
        QCOMPARE(page.mid(form.innerEnd, form.outerEnd - form.innerEnd), "</FORM >");
        // Its content written anew is read in place, where it stands.
        KeptMarkup kept;
        kept.reset(page, "UTF-8", QString::fromUtf8(page));
        const QByteArray edited = QByteArray(page).replace(" x &amp; y\n", " z ");
        const QString html = SourceTree(sourcemap::SourceText{{}, edited, {}}).documentHtml();
        QString why;
        QCOMPARE(kept.write({{3, true}}, {"\n<input name=\"q\"> z "}, html, {}, &why)
                     .value_or(why.toUtf8()),
                 edited);
        QCOMPARE(kept.lastCheck(), KeptMarkup::Check::InPlace);
        // Written again for the same page (the recovery copy, then the save): the same
        // bytes, known to read back by the same check.
        QCOMPARE(kept.write({{3, true}}, {"\n<input name=\"q\"> z "}, html, {}, &why), edited);
        QCOMPARE(kept.lastCheck(), KeptMarkup::Check::InPlace);
    }

    void anXhtmlPageIsWrittenInItsOwnStyle()
    {
        // Lower-case names, every value quoted, void elements closed with " />"; the
        // declaration the parser reads as a comment stays as written.
        const QByteArray page = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>\r\n"
                                "<p class=\"a\">one<br />two</p>\r\n<hr/></body></html>";
        KeptMarkup kept; // 0 html, 1 head, 2 body, 3 p, 4 br, 5 hr
        kept.reset(page, "UTF-8", QString::fromUtf8(page));
        QVERIFY(kept.tree().documentHtml().startsWith("<!--?xml version=\"1.0\""));
        const QByteArray edited = QByteArray(page).replace(
            "two</p>",
            "two <a href=\"b.htm\">b</a><br />\r\nthree<img src=\"c.png\" alt=\"\" /></p>");
        const QString html = SourceTree(sourcemap::SourceText{{}, edited, {}}).documentHtml();
        QString why;
        QCOMPARE(kept.write({{3, true}},
                            {"one<br>two <a href=\"b.htm\">b</a><br>\nthree<img src=\"c.png\" "
                             "alt=\"\">"},
                            html, {}, &why)
                     .value_or(why.toUtf8()),
                 edited);
        // An upper-case page that leaves values bare keeps doing so.
        const WrittenStyle legacy = writtenStyle("<P ALIGN=center><IMG SRC=a.gif><BR>");
        QVERIFY(legacy.upperCaseNames && !legacy.quotedValues && !legacy.closedVoids);
    }

    void anEditedElementKeepsTheStartTagsItHolds()
    {
        // Highlighted code: a line added and a bold word put in; every token's tags stay
        // as written, single quotes and upper case included.
        const QByteArray page = "<pre><code class=\"cpp\"><span class='kw'>int</span> "
                                "<SPAN CLASS=fn>main</SPAN>() {\n    <span class=\"kw\">return"
                                "</span> <span class=\"num\">0</span>;\n}</code></pre>";
        KeptMarkup kept; // 0 html, 1 head, 2 body, 3 pre, 4 code, 5 span, 6 span, 7 span, 8 span
        kept.reset(page, "UTF-8", QString::fromUtf8(page));
        const QByteArray edited = QByteArray(page)
                                      .replace("{\n", "{\n\n")
                                      .replace("<SPAN CLASS=fn>", "<b>x</b><SPAN CLASS=fn>")
                                      .replace("\"num\">0<", "\"num\">1<");
        const QString html = SourceTree(sourcemap::SourceText{{}, edited, {}}).documentHtml();
        QString why;
        QCOMPARE(kept.write({{4, true}},
                            {"<span class=\"kw\">int</span> <b>x</b><span class=\"fn\">main</span>"
                             "() {\n\n    <span class=\"kw\">return</span> <span "
                             "class=\"num\">1</span>;\n}"},
                            html, {}, &why)
                     .value_or(why.toUtf8()),
                 edited);
        QCOMPARE(kept.lastCheck(), KeptMarkup::Check::InPlace);
        // A start tag that changed is written anew, the others as they were.
        const QString changed = QString(html)
                                    .replace("CLASS=\"fn\"", "CLASS=\"name\"")
                                    .replace("<SPAN class=fn>", "<SPAN class=name>");
        QCOMPARE(kept.write({{4, true}},
                            {"<span class=\"kw\">int</span> <b>x</b><span class=\"name\">main"
                             "</span>() {\n\n    <span class=\"kw\">return</span> <span "
                             "class=\"num\">1</span>;\n}"},
                            changed, {}, &why)
                     .value_or(why.toUtf8()),
                 QByteArray(edited).replace("<SPAN CLASS=fn>main</SPAN>",
                                            "<span class=\"name\">main</span>"));
        // A link whose bold its end closes (misnested): kept whole, the bold would stay open
        // and come back around what follows; its start tags are kept, the bold's end is new.
        KeptMarkup misnested; // 0 html, 1 head, 2 body, 3 div, 4 a, 5 b, 6 b (the copy)
        const QByteArray open = "<div><a href=l><b>t</a> u</div>";
        misnested.reset(open, "UTF-8", QString::fromUtf8(open));
        const QByteArray typed = QByteArray(open).replace(" u", " uw");
        QCOMPARE(misnested
                     .write({{3, true}}, {"<a href=\"l\"><b>t</b></a><b> uw</b>"},
                            SourceTree(sourcemap::SourceText{{}, typed, {}}).documentHtml(), {},
                            &why)
                     .value_or(why.toUtf8()),
                 "<div><a href=l><b>t</b></a><b> uw</b></div>");
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
        QVERIFY(!sourcemap::map(page, "ISO-2022-JP", text));   // not what the bytes read as
    }

    void isoJisPagesAreKeptStretchByStretch()
    {
        // Escapes into the two-byte set and back, half-width katakana, and a line end in
        // ASCII: every element's ends lead to its bytes.
        const QByteArray page = "<p>\x1B$B$\"$$\x1B(B ab</p>\n<p>\x1B$B$&\x1B(Bc\x1B$B$(\x1B(B"
                                "</p><p>x\x1B(I6\x1B(B</p>";
        const QString text = textcodec::decode(page, "ISO-2022-JP")->text;
        KeptMarkup kept; // 0 html, 1 head, 2 body, 3 p, 4 p, 5 p
        kept.reset(page, "ISO-2022-JP", text);
        QVERIFY(kept.hasOriginal());
        const std::vector<SourceElement> &e = kept.tree().elements();
        QCOMPARE(page.mid(e[4].innerStart, e[4].innerEnd - e[4].innerStart),
                 "\x1B$B$&\x1B(Bc\x1B$B$("); // the return to ASCII goes with "</p>"
        QCOMPARE(page.mid(e[5].tagStart, e[5].outerEnd - e[5].tagStart), "<p>x\x1B(I6\x1B(B</p>");
        // A word typed into the first: only it changes, and back in ASCII before " ab".
        const QString edited = QString(text).replace(u"あい"_qs, u"あ語い"_qs);
        const QString html =
            SourceTree(sourcemap::SourceText{{}, edited.toUtf8(), {}}).documentHtml();
        QString why;
        QCOMPARE(kept.write({{3, true}}, {u"あ語い ab"_qs}, html, {}, &why).value_or(why.toUtf8()),
                 QByteArray(page).replace("$\"$$", "$\"8l$$"));
        QCOMPARE(kept.lastCheck(), KeptMarkup::Check::Whole);
        // ASCII written in place of each two-byte character: the escapes the bytes around
        // it need, and no escape straight before another (that reads as a bad character).
        QCOMPARE(sourcemap::fitEscapes(page, 3, 8, "x"), "x\x1B$B");
        QCOMPARE(sourcemap::fitEscapes(page, 8, 10, "x"), "\x1B(Bx");
        QCOMPARE(sourcemap::fitEscapes(page, 8, 10, "\x1B$B8l\x1B(B"), "\x1B$B8l");
    }

    void isoJisEscapesStraightAfterOthersAreKept()
    {
        // Escapes with nothing between them (an empty run of two-byte text, as some editors
        // leave it): the first reads as a bad character, which keeps its bytes.
        const QByteArray page = "<p>\x1B$B\x1B(Bab</p>\n<p>\x1B$B$\"\x1B(B\x1B$B$$\x1B(B</p>"
                                "\x1B$B\x1B(B<p>c</p>";
        const QString text = textcodec::decode(page, "ISO-2022-JP")->text;
        QCOMPARE(text, u"<p>\uFFFDab</p>\n<p>\u3042\uFFFD\u3044</p>\uFFFD<p>c</p>"_qs);
        KeptMarkup kept; // 0 html, 1 head, 2 body, 3 p, 4 p, 5 p
        kept.reset(page, "ISO-2022-JP", text);
        QVERIFY(kept.hasOriginal());
        const std::vector<SourceElement> &e = kept.tree().elements();
        QCOMPARE(page.mid(e[3].innerStart, e[3].innerEnd - e[3].innerStart), "\x1B$B\x1B(Bab");
        QCOMPARE(page.mid(e[5].tagStart, e[5].outerEnd - e[5].tagStart), "\x1B(B<p>c</p>");
        // Unedited, byte for byte; a word typed where a bad character stands, and in the
        // paragraph after one: each changes only its own bytes.
        QString why;
        QCOMPARE(kept.write({}, {}, kept.tree().documentHtml(), {}, &why), page);
        QString edited = QString(text).replace(u"\u3044"_qs, u"\u8A9E\u3044"_qs);
        edited.replace(u"c<"_qs, u"c d<"_qs);
        QCOMPARE(
            kept.write({{4, true}, {5, true}}, {u"\u3042\uFFFD\u8A9E\u3044"_qs, "c d"},
                       SourceTree(sourcemap::SourceText{{}, edited.toUtf8(), {}}).documentHtml(),
                       {}, &why)
                .value_or(why.toUtf8()),
            QByteArray(page)
                .replace("$\"\x1B(B\x1B$B$$", "$\"\x1B(B&#65533;\x1B$B8l$$")
                .replace("c<", "c d<"));
        // Written straight after the first of two escapes, a stretch begins with one.
        QCOMPARE(sourcemap::fitEscapes("a\x1B(B\x1B(Bb", 4, 8, "x"), "\x1B(Bx");
    }
};

QTEST_GUILESS_MAIN(TestKeptRegions)
#include "tst_keptregions.moc"
