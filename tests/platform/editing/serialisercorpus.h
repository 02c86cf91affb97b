#pragma once

// Pages whose DocumentHTML is pinned in tests/data/serialiser/oracle.json: the pages of
// tests/data, generated pages like the benchmark's, and pages built to trip a text pass
// over the engine's markup (foreign content, raw text, odd attributes, comments, CJK).
#include <QList>
#include <QString>

namespace lumipage::test
{

struct CorpusPage {
    QString name;
    QString file; // a file under tests/data, read with LoadDocument
    QString html; // or markup set as DocumentHTML
};

inline QList<CorpusPage> serialiserCorpus()
{
    QList<CorpusPage> pages;
    for (const char *file : {"entities.htm", "eucjp.htm", "filters.htm", "forms.htm", "scripts.htm",
                             "sjis.htm", "tables.htm", "serialiser/generated.htm",
                             "serialiser/generated-table.htm", "serialiser/generated-sjis.htm"})
        pages.append({QString::fromLatin1(file), QString::fromLatin1(file), {}});
    const auto add = [&pages](const char *name, const char *html) {
        pages.append({QString::fromLatin1(name), {}, QString::fromUtf8(html)});
    };
    add("foreign",
        "<html><body><p>a<svg viewBox=\"0 0 10 10\"><foreignObject><div class=in>in</div>"
        "<circle r=1></circle><svg><g></g></svg></foreignObject><clipPath id=c><rect "
        "width=1 /></clipPath><title>t<b>x</b></title><desc>d<span>s</span></desc>"
        "<script>if (a<b) x=\"&amp;\"</script><style>g > a {}</style><a xlink:href=\"#c\">l</a>"
        "<linearGradient gradientUnits=userSpaceOnUse></linearGradient></svg>"
        "<math><mi>x<b>y</b></mi><annotation-xml encoding=\"text/html\"><div>h</div>"
        "</annotation-xml><annotation-xml><svg><rect></rect></svg></annotation-xml>"
        "<mtext><mglyph></mglyph><i>t</i></mtext><mrow><mo>+</mo></mrow></math>"
        "<b>after</b></p></body></html>");
    add("raw text",
        "<html><head><style>p > a { content: \"&amp;<b>\" }</style>"
        "<script>if (a < b && c > d) document.write(\"</p>&nbsp;\")</script>"
        "<script><!--<script>x</script>--></script><script>a = '<!--'; b = '</scrip'</script>"
        "</head><body><xmp><b>&amp;</b></xmp><iframe><p>&amp; x</iframe>"
        "<noembed><b>&lt;</noembed><noframes><i>&</noframes><noscript><b>ns</b> &amp;</noscript>"
        "<textarea>\nlead & <b></textarea><textarea>no lead</textarea><pre>\n\ntwo</pre>"
        "<listing>\nl</listing><pre>no</pre><pre><b>\nb</b></pre>"
        "<style>/* </styled> */</style></body></html>");
    add("attributes",
        "<html lang=ja><body bgcolor=white text=\"#000\"><p title='a\"b' class=\"x y\" "
        "data-a=\"&lt;&gt;\" data-b=&amp;amp; data-c=\"\" data-d=`back` lang=\"ja\u3000jp\" "
        "id=\"nb&nbsp;sp\" dir=ltr data-e=\"a=b\" data-f='it&apos;s' data-g=\"<>\" "
        "data-h=\"tab\tx\" data-i=\"x\u2002y\" data-j=\"\uFEFFj\" data-k=\"&quot;&amp;quot;\" "
        "data-l=\"a/b\" =odd \"quote=1 a<b=2 x'y=3 DATA-UP=Up>t</p>"
        "<img src=\"a b.png\" alt=画像 width=10><a href=\"page.htm?a=1&amp;b=2\">q</a>"
        "<input type=checkbox checked><select><option selected value=1>one<option>two</select>"
        "<font face=\"ＭＳ Ｐゴシック\" size=+1>f</font></body></html>");
    add("comments and doctype",
        "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
        "\"http://www.w3.org/TR/html4/loose.dtd\"><!-- before --><html><!--in html--><head>"
        "</head><body><!-- <p>not a tag</p> <script> --><p>x<!--a--b--></p><!---->"
        "<!--<!-- nested -->y<? pi ?>z<!x></body></html><!-- after -->");
    add("doctype system", "<!DOCTYPE html SYSTEM \"about:legacy-compat\"><p>s</p>");
    add("doctype html", "<!doctype html><title>t &amp; u</title><p>h</p>");
    add("text",
        "<p>日本語 \xF0\xA0\xAE\xB7野家 \xF0\x9F\x98\x80 ＆\u3000全角 A&nbsp;B&nbsp;&nbsp;C "
        "&lt;tag&gt; &amp; &copy; &#x3042; \" ' ` = / \\</p>"
        "<ruby>漢<rt>かん</rt></ruby><x-custom data-v=1>custom</x-custom><DIV CLASS=A>"
        "<Span>x&nbsp;y</Span></DIV><p>a\tb\nc</p>");
    add("void elements",
        "<html><head><base href=\"http://example.com/\"><link rel=stylesheet href=a.css>"
        "<meta name=a content=b></head><body><p>a<br>b<wbr>c<img src=x>d<input value=1>"
        "e<embed src=y>f<keygen>g<map><area shape=rect></map>h<hr>i<basefont size=3>j"
        "<bgsound src=s>k<image src=z>l</p><table><colgroup><col span=2></colgroup>"
        "<tr><td>1</td></tr></table><video><source src=a><track src=b></video>"
        "<object><param name=a value=b></object><br></br><p></p></body></html>");
    add("frameset", "<html><frameset cols=\"50%,*\"><frame src=a.htm><frame src=b.htm name=\"b\">"
                    "<noframes><body>no <b>frames</b></body></noframes></frameset></html>");
    add("tree fix-ups", "<table><b>x<tr><td>1</td><caption>c</caption></table><p><b><i>a</p>b</i>c"
                        "<ul><li>one<li>two<ul><li>deep</ul></ul><dl><dt>t<dd>d</dl>"
                        "<template id=t><td>cell</td><p>&amp;</template><p>\u00a0</p>");
    QString deep;
    for (int i = 0; i < 300; ++i)
        deep += QStringLiteral("<div id=d%1>").arg(i);
    deep += QStringLiteral("bottom");
    pages.append({QStringLiteral("deep"), {}, deep});
    return pages;
}

} // namespace lumipage::test
