// The rewrite of the engine's markup into DocumentHTML's form, on its own: exact
// outputs, and random and hostile inputs that must neither read past their end nor
// take more than linear time.
#include "platform/markup/documentform.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <sys/mman.h>
#include <unistd.h>

using namespace lumipage;
using namespace Qt::StringLiterals;

namespace
{

// A copy of `text` placed so that its last character is the last one before an
// unreadable page: reading one character past the end faults.
class Fenced
{
public:
    explicit Fenced(QStringView text)
    {
        const size_t page = size_t(sysconf(_SC_PAGESIZE));
        const size_t bytes = size_t(text.size()) * sizeof(char16_t);
        m_size = (bytes + page - 1) / page * page + page;
        m_base = static_cast<char *>(
            mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        mprotect(m_base + m_size - page, page, PROT_NONE);
        auto *data = reinterpret_cast<char16_t *>(m_base + m_size - page - bytes);
        std::copy(text.utf16(), text.utf16() + text.size(), data);
        m_view = QStringView(data, text.size());
    }
    ~Fenced() { munmap(m_base, m_size); }
    QStringView view() const { return m_view; }

private:
    char *m_base = nullptr;
    size_t m_size = 0;
    QStringView m_view;
};

qint64 rewriteMs(const QString &input)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        documentform::rewrite(input);
        best = std::min(best, timer.elapsed());
    }
    return best;
}

} // namespace

class TestDocumentForm : public QObject
{
    Q_OBJECT

private slots:
    void rewritesTheEngineMarkup_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QString>("expected");
        QTest::newRow("names") << u"<html><head><title>t</title></head><body><p>a</p><x-y>b</x-y>"
                                  "<br><img src=\"a.png\"></body></html>"_s
                               << u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY><P>a</P><X-Y>b</X-Y>"
                                  "<BR><IMG src=a.png></BODY></HTML>"_s;
        QTest::newRow("values")
            << u"<p a=\"x\" b=\"\" c=\"a b\" d=\"&amp;\" e=\"&quot;\" f=\"x&nbsp;y\" g=\"<>\" "
               "h=\"'\" i=\"日本\" j=\"x\u3000y\" k=\"a=b\" l=\"`\" m=\"a/b\" =n=\"\">t</p>"_s
            << u"<P a=x b=\"\" c=\"a b\" d=\"&amp;\" e=\"&quot;\" f=\"x\u00a0y\" g=\"<>\" "
               "h=\"'\" i=日本 j=\"x\u3000y\" k=\"a=b\" l=\"`\" m=a/b =n=\"\">t</P>"_s;
        QTest::newRow("text as written, carriage returns as references")
            << u"<p>a &amp; &lt;b&gt;&nbsp;\"c\"\rd</p><p title=\"x\ry\">e</p>"_s
            << u"<P>a &amp; &lt;b&gt;&nbsp;\"c\"&#13;d</P><P title=\"x&#13;y\">e</P>"_s;
        QTest::newRow("raw text")
            << u"<script>if (a<b && c>d) x = \"</p>\";</script><style>p > a {}</style>"
               "<xmp><b>&</b></xmp><script><!--<script>x</script>--></script><p>after</p>"_s
            << u"<SCRIPT>if (a<b && c>d) x = \"</p>\";</SCRIPT><STYLE>p > a {}</STYLE>"
               "<XMP><b>&</b></XMP><SCRIPT><!--<script>x</script>--></SCRIPT><P>after</P>"_s;
        QTest::newRow("comments keep what they hold")
            << u"<div><!-- <p a=\"b\"> </div> --><!----></div>"_s
            << u"<DIV><!-- <p a=\"b\"> </div> --><!----></DIV>"_s;
        QTest::newRow("leading newline")
            << u"<pre>\nx</pre><textarea>\n</textarea><listing>\nl</listing><pre>y\n</pre>"_s
            << u"<PRE>\n\nx</PRE><TEXTAREA>\n\n</TEXTAREA><LISTING>\n\nl</LISTING><PRE>y\n</PRE>"_s;
        QTest::newRow("foreign content")
            << u"<svg viewBox=\"0 0 1 1\"><foreignObject><div>d</div><svg><clipPath></clipPath>"
               "</svg></foreignObject><title><b>t</b></title><script>a&lt;b</script></svg>"
               "<math><mi><i>i</i><mglyph></mglyph></mi><annotation-xml encoding=\"Text/HTML\">"
               "<p>h</p></annotation-xml><annotation-xml><svg></svg><mrow></mrow>"
               "</annotation-xml></math><b>b</b>"_s
            << u"<svg viewBox=\"0 0 1 1\"><foreignObject><DIV>d</DIV><svg><clipPath></clipPath>"
               "</svg></foreignObject><title><B>t</B></title><script>a&lt;b</script></svg>"
               "<math><mi><I>i</I><mglyph></mglyph></mi><annotation-xml encoding=Text/HTML>"
               "<P>h</P></annotation-xml><annotation-xml><svg></svg><mrow></mrow>"
               "</annotation-xml></math><B>b</B>"_s;
        QTest::newRow("editing aids left out")
            << u"<html><body><p class=\"x\">x</p></body><div data-lumipage-aid=\"\" "
               "contenteditable=\"false\" style=\"a\"><div></div><div><img></div></div></html>"_s
            << u"<HTML><BODY><P class=x>x</P></BODY></HTML>"_s;
        QTest::newRow("nothing after plaintext")
            << u"<html><body><p>a</p><plaintext>x <b> & </plaintext></body></html>"_s
            << u"<HTML><BODY><P>a</P><PLAINTEXT>x <b> & "_s;
        QTest::newRow("plaintext holding its end tag")
            << u"<html><body><plaintext>a </plaintext></body></html> b</plaintext></body>"
               "<div data-lumipage-aid=\"\"></div></html>"_s
            << u"<HTML><BODY><PLAINTEXT>a </plaintext></body></html> b"_s;
    }
    void rewritesTheEngineMarkup()
    {
        QFETCH(QString, engine);
        QFETCH(QString, expected);
        QCOMPARE(documentform::rewrite(engine).markup, expected);
    }

    void wholeDocument()
    {
        documentform::Aids aids;
        aids.attributes.insert(u"data-outline"_s);
        QCOMPARE(documentform::document(u"<!DOCTYPE html><!--a-->"_s,
                                        u"<html><body data-outline=\"1\" id=\"b\"></body></html>"_s,
                                        u"<!--z-->"_s, aids),
                 u"<!DOCTYPE html><!--a--><HTML><BODY id=b></BODY></HTML><!--z-->"_s);
        QCOMPARE(
            documentform::document({}, u"<html><plaintext>p</plaintext></html>"_s, u"<!--z-->"_s),
            u"<HTML><PLAINTEXT>p"_s);
    }

    // Random soups of the pieces the rewrite looks for: no fault, no read past the end.
    void randomInputsStayInBounds()
    {
        const QStringList pieces = {u"<"_s,
                                    u">"_s,
                                    u"</"_s,
                                    u"/"_s,
                                    u"!"_s,
                                    u"-"_s,
                                    u"\""_s,
                                    u"="_s,
                                    u" "_s,
                                    u"\r"_s,
                                    u"\n"_s,
                                    u"&nbsp;"_s,
                                    u"&"_s,
                                    u"a"_s,
                                    u"<!--"_s,
                                    u"-->"_s,
                                    u"<script"_s,
                                    u"</script"_s,
                                    u"<script>"_s,
                                    u"</script>"_s,
                                    u"<style>"_s,
                                    u"</style>"_s,
                                    u"<plaintext>"_s,
                                    u"<pre>"_s,
                                    u"<svg>"_s,
                                    u"<math>"_s,
                                    u"<annotation-xml"_s,
                                    u"encoding=\"text/html\""_s,
                                    u" data-lumipage-aid=\"\""_s,
                                    u"<div"_s,
                                    u"</div>"_s,
                                    u"<br>"_s,
                                    u"日本"_s,
                                    u"\U00020BB7"_s,
                                    QString(QChar(0xD800)),
                                    QString(QChar(0xDC00)),
                                    u"<?"_s,
                                    u"<!x"_s,
                                    u"\u00a0"_s};
        QRandomGenerator random(20261207);
        for (int round = 0; round < 20000; ++round) {
            QString input;
            const int count = random.bounded(1, 60);
            for (int i = 0; i < count; ++i)
                input += pieces.at(random.bounded(pieces.size()));
            const Fenced fenced(input);
            const documentform::Rewritten out = documentform::rewrite(fenced.view());
            // Every character comes from the input, a reference for a CR, a doubled
            // newline or a closing quote or bracket: never more than a few times longer.
            QVERIFY2(out.markup.size() <= 5 * input.size() + 8, qPrintable(input));
        }
    }

    void hostileInputsTakeLinearTime()
    {
        const auto repeat = [](const QString &unit, int times) { return unit.repeated(times); };
        const QList<std::pair<QString, QString>> cases = {
            {u"<a"_s, u" b"_s},                        // one tag, endless attributes
            {u""_s, u"<div>"_s},                       // deep nesting
            {u"<script>"_s, u"<!--<script>--><!--"_s}, // script escapes, never closed
            {u"<p title=\""_s, u"<>&nbsp;\r"_s},       // an unterminated value
            {u""_s, u"</x>"_s},                        // end tags with nothing open
            {u"<!--"_s, u"<p>--"_s},                   // an unterminated comment
        };
        for (const auto &[head, unit] : cases) {
            const qint64 small = rewriteMs(head + repeat(unit, 20000));
            const qint64 large = rewriteMs(head + repeat(unit, 200000));
            // Ten times the input: about ten times the work, never a hundred. The floor of
            // 10 ms keeps a busy machine's pause out of a small case that takes 1 ms.
            QVERIFY2(large <= 30 * std::max<qint64>(small, 10), qPrintable(unit));
        }
    }
};

QTEST_GUILESS_MAIN(TestDocumentForm)
#include "tst_documentform.moc"
