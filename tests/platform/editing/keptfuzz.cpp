#include "keptfuzz.h"

#include "support/testsupport.h"

#include "platform/editing/editingcommands.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QDir>
#include <QRandomGenerator>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace lumipage::test
{

namespace
{

// How many of the original's lines come back unchanged in `saved`.
int linesKept(const QByteArray &original, const QByteArray &saved)
{
    QList<QByteArray> left = saved.split('\n');
    int kept = 0;
    for (const QByteArray &line : original.split('\n'))
        if (left.removeOne(line))
            ++kept;
    return kept;
}

// The page's text runs, without white space alone and without what the user does not type
// into; [a, b) of it selected. Answers the line ends in the runs it touches, -1 without text.
const char kSelect[] = R"((function (a, b, toBlockEnd) {
    const texts = [];
    let total = 0;
    const walk = document.createTreeWalker(document.body || document.documentElement,
                                           NodeFilter.SHOW_TEXT);
    for (let n = walk.nextNode(); n; n = walk.nextNode()) {
        const p = n.parentElement;
        if (!n.data.trim() ||
            !p || p.closest('script,style,textarea,select,title,option,[data-lumipage-aid]'))
            continue;
        texts.push([n, total]);
        total += n.data.length;
    }
    if (!texts.length)
        return -1;
    const place = f => {
        const at = Math.floor(f * total);
        let k = 0;
        while (k + 1 < texts.length && texts[k + 1][1] <= at)
            ++k;
        return [k, Math.min(at - texts[k][1], texts[k][0].data.length)];
    };
    const s = place(Math.min(a, b)), e = place(Math.max(a, b));
    document.getSelection().setBaseAndExtent(texts[s[0]][0], s[1], texts[e[0]][0], e[1]);
    // The lines the edit may touch: the text from the first run's start to the last one's
    // end (with Enter, to the end of the block it splits), and the tags in it, which may
    // take a line each and one per attribute.
    const touched = document.createRange();
    const last = texts[e[0]][0];
    touched.setStart(texts[s[0]][0], 0);
    touched.setEnd(last, last.data.length);
    if (toBlockEnd) {
        let block = last.parentElement;
        while (block.parentElement && getComputedStyle(block).display.startsWith('inline'))
            block = block.parentElement;
        touched.setEnd(block, block.childNodes.length);
    }
    let lines = (touched.toString().match(/\n/g) || []).length;
    const root = touched.commonAncestorContainer;
    const tags = document.createTreeWalker(root, NodeFilter.SHOW_ELEMENT);
    for (let n = tags.nextNode(); n; n = tags.nextNode())
        if (touched.intersectsNode(n))
            lines += 1 + n.attributes.length;
    return lines;
})(%1, %2, %3))";

const char kCell[] = R"((function (a) {
    const cells = document.querySelectorAll('td, th');
    if (!cells.length)
        return -1;
    const cell = cells[Math.floor(a * cells.length)];
    const range = document.createRange();
    range.selectNodeContents(cell);
    range.collapse(true);
    document.getSelection().removeAllRanges();
    document.getSelection().addRange(range);
    return (cell.parentNode.textContent.match(/\n/g) || []).length;
})(%1))";

const char *const kKindNames[] = {"type", "enter", "backspace", "delete", "bold", "link",
                                  "row",  "paste", "position",  "undo",   "redo"};

} // namespace

const QStringList &KeptFuzz::pages()
{
    static const QStringList names = {
        "modern.htm",  "xhtml.htm",     "legacy.htm", "sjis.htm",     "eucjp.htm",    "svgmath.htm",
        "stray.htm",   "contact.htm",   "forms.htm",  "lists.htm",    "docbook.htm",  "legacy2.htm",
        "xhtmljp.htm", "iso2022jp.htm", "code.htm",   "bodytext.htm", "misnested.htm"};
    return names;
}

QString KeptFuzz::pageOf(quint32 seed)
{
    return pages().at(int(seed % quint32(pages().size())));
}

std::vector<KeptFuzz::Edit> KeptFuzz::editsOf(quint32 seed)
{
    QRandomGenerator random(seed);
    // Weights of the kinds, in the order of Edit::Kind.
    static const int weights[] = {20, 12, 10, 8, 8, 5, 5, 8, 5, 12, 7};
    int sum = 0;
    for (int w : weights)
        sum += w;
    std::vector<Edit> edits(size_t(3 + random.bounded(6)));
    for (Edit &edit : edits) {
        int pick = int(random.bounded(sum)), kind = 0;
        while (pick >= weights[kind])
            pick -= weights[kind++];
        edit.kind = Edit::Kind(kind);
        edit.a = random.generateDouble();
        // Selections mostly short, now and then across much of the page.
        const double span = random.bounded(4) == 0 ? 0.5 : 0.08;
        edit.b = std::min(0.999, edit.a + random.generateDouble() * span);
        edit.variant = int(random.bounded(4));
    }
    return edits;
}

QString KeptFuzz::describe(const std::vector<Edit> &edits)
{
    QStringList out;
    for (const Edit &e : edits)
        out << QStringLiteral("%1(%2,%3,%4)")
                   .arg(QLatin1String(kKindNames[e.kind]))
                   .arg(e.a, 0, 'f', 3)
                   .arg(e.b, 0, 'f', 3)
                   .arg(e.variant);
    return out.join(QLatin1Char(' '));
}

KeptFuzz::KeptFuzz(WebEngineEditingComponent &editor, const QString &folder)
    : m_editor(editor), m_folder(folder)
{
}

QString KeptFuzz::evaluate(const QString &script)
{
    return evalInPage(m_editor.findChild<QWebEngineView *>(), script, 5000,
                      QWebEngineScript::ApplicationWorld)
        .toString();
}

int KeptFuzz::select(double a, double b, bool toBlockEnd)
{
    return evaluate(QString::fromLatin1(kSelect).arg(a).arg(b).arg(toBlockEnd ? 1 : 0)).toInt();
}

int KeptFuzz::caretInCell(double a)
{
    return evaluate(QString::fromLatin1(kCell).arg(a)).toInt();
}

int KeptFuzz::keyUps()
{
    return evaluate(QStringLiteral(
                        "(() => { if (window.__keyUps === undefined) { window.__keyUps = 0;"
                        " window.addEventListener('keyup', () => { ++window.__keyUps; }, true); }"
                        " return window.__keyUps; })()"))
        .toInt();
}

void KeptFuzz::keys(const QList<int> &keys, const QString &text)
{
    QWidget *surface = m_editor.findChild<QWebEngineView *>()->focusProxy();
    const int before = keyUps();
    for (int key : keys)
        QTest::keyClick(surface, Qt::Key(key));
    QTest::keyClicks(surface, text);
    // The page has taken every key once it has seen each one's release.
    const int count = int(keys.size() + text.size());
    if (!test::waitFor([&] { return keyUps() >= before + count; }, 5000))
        qWarning("the page did not take the keys");
}

KeptFuzz::Outcome KeptFuzz::run(const QString &page, const std::vector<Edit> &edits)
{
    Outcome outcome;
    const QString path = QDir(m_folder).filePath(page);
    const QByteArray original = readBytes(dataFile("kept/" + page));
    writeBytes(path, original);
    m_editor.setKeepMarkup(true);
    if (!loadAndWait(m_editor, path) ||
        !clickPage(m_editor, QPoint(m_editor.width() - 30, m_editor.height() - 30))) {
        outcome.fault = QStringLiteral("the page did not load");
        return outcome;
    }
    const QString loaded = m_editor.DocumentHTML();
    int allowed = 0; // original lines the edits may rewrite
    for (const Edit &edit : edits) {
        int touched = 0;
        switch (edit.kind) {
        case Edit::Type:
            touched = select(edit.a, edit.a);
            keys({}, edit.variant == 3 ? QStringLiteral("a b") : QStringLiteral("word"));
            break;
        case Edit::Enter:
            touched = select(edit.a, edit.a, true);
            keys({Qt::Key_Return}, edit.variant == 0 ? QStringLiteral("new") : QString());
            break;
        case Edit::Backspace:
        case Edit::Delete:
            touched = select(edit.a, edit.variant == 0 ? edit.a : edit.b);
            keys({edit.kind == Edit::Backspace ? Qt::Key_Backspace : Qt::Key_Delete});
            break;
        case Edit::Bold:
            touched = select(edit.a, edit.b);
            m_editor.ExecCommand(decmd::BOLD, CommandOption::DontPrompt);
            break;
        case Edit::Link:
            touched = select(edit.a, edit.b);
            m_editor.ExecCommand(decmd::HYPERLINK, CommandOption::DontPrompt,
                                 QStringLiteral("http://example.com/%1").arg(edit.variant));
            break;
        case Edit::Row:
            touched = caretInCell(edit.a);
            if (touched >= 0)
                m_editor.ExecCommand(decmd::INSERTROW, CommandOption::DontPrompt);
            break;
        case Edit::Paste:
            touched = select(edit.a, edit.variant == 0 ? edit.b : edit.a);
            m_editor.pasteHTML(edit.variant == 1 ? QStringLiteral("<P>pasted block</P>")
                                                 : QStringLiteral("<B>pasted</B> &amp; more"));
            break;
        case Edit::Position:
            touched = select(edit.a, edit.a);
            m_editor.ExecCommand(decmd::MAKE_ABSOLUTE, CommandOption::DontPrompt);
            break;
        case Edit::Undo:
            m_editor.ExecCommand(decmd::UNDO, CommandOption::DontPrompt);
            break;
        case Edit::Redo:
            m_editor.ExecCommand(decmd::REDO, CommandOption::DontPrompt);
            break;
        }
        allowed += 4 + std::max(0, touched);
    }

    // Saved twice: the author's markup kept, and written whole.
    const QString html = m_editor.DocumentHTML();
    const QString keptPath = path + QStringLiteral(".kept.htm");
    const QString wholePath = path + QStringLiteral(".whole.htm");
    const bool keptSaved = m_editor.SaveDocument(keptPath);
    outcome.wholeFallback = !m_editor.keptMarkupFallback().isEmpty();
    const QString fallback = m_editor.keptMarkupFallback();
    outcome.fallback = fallback;
    m_editor.setKeepMarkup(false);
    const bool wholeSaved = m_editor.SaveDocument(wholePath);
    m_editor.setKeepMarkup(true);
    if (!keptSaved || !wholeSaved) {
        outcome.fault = QStringLiteral("a save failed");
        return outcome;
    }
    const QByteArray kept = readBytes(keptPath), whole = readBytes(wholePath);
    if (const QString copy = qEnvironmentVariable("LUMIPAGE_FUZZ_SAVE"); !copy.isEmpty())
        writeBytes(copy, kept);
    outcome.lines = int(original.split('\n').size());
    outcome.kept = linesKept(original, kept);
    outcome.keptWhole = linesKept(original, whole);
    outcome.linesBeyond = std::max(0, outcome.lines - outcome.kept - allowed);

    // Everything undone: the page as loaded, saved as the original bytes.
    for (int guard = 0; guard < 100 && m_editor.ExecCommand(decmd::UNDO, CommandOption::DontPrompt);
         ++guard) {
    }
    QString undoneFault;
    if (m_editor.DocumentHTML() == loaded) {
        const QString undonePath = path + QStringLiteral(".undone.htm");
        if (!m_editor.SaveDocument(undonePath) || readBytes(undonePath) != original)
            undoneFault = QStringLiteral("with every edit undone the save is not the original (%1)")
                              .arg(m_editor.keptMarkupFallback());
    }

    // Both files read as the page shown.
    if (!loadAndWait(m_editor, keptPath)) {
        outcome.fault = QStringLiteral("the kept file did not load");
        return outcome;
    }
    const QString keptRead = m_editor.DocumentHTML();
    if (!loadAndWait(m_editor, wholePath)) {
        outcome.fault = QStringLiteral("the whole file did not load");
        return outcome;
    }
    const QString wholeRead = m_editor.DocumentHTML();
    if (keptRead != wholeRead)
        outcome.fault = QStringLiteral("the kept file reads otherwise than the whole one");
    else
        outcome.fault = undoneFault;
    // Both files alike, but not the page shown: HTML cannot hold what the editor made (a
    // paragraph pasted into a paragraph), which no way of writing it mends.
    outcome.unwritable = keptRead == wholeRead && keptRead != html;
    if (outcome.unwritable)
        outcome.linesBeyond = 0; // written whole, rightly: nothing written reads as the page
    if (!outcome.fault.isEmpty() && !fallback.isEmpty())
        outcome.fault += QStringLiteral(" [kept save fell back: %1]").arg(fallback);
    if (!outcome.fault.isEmpty() && qEnvironmentVariableIsSet("LUMIPAGE_FUZZ_DIFF")) {
        const QString &other = wholeRead;
        qsizetype at = 0;
        while (at < keptRead.size() && at < other.size() && keptRead[at] == other[at])
            ++at;
        qInfo("read: %s\nwant: %s", qPrintable(keptRead.mid(std::max<qsizetype>(0, at - 80), 200)),
              qPrintable(other.mid(std::max<qsizetype>(0, at - 80), 200)));
    }
    return outcome;
}

std::vector<KeptFuzz::Edit> KeptFuzz::shrink(const QString &page, std::vector<Edit> edits)
{
    const Outcome first = run(page, edits);
    const auto fails = [&](const Outcome &o) {
        return first.fault.isEmpty()
                   ? o.linesBeyond > 0
                   : o.fault.section(u' ', 0, 3) == first.fault.section(u' ', 0, 3);
    };
    if (!fails(first))
        return edits;
    for (bool dropped = true; dropped && edits.size() > 1;) {
        dropped = false;
        for (size_t k = 0; k < edits.size(); ++k) {
            std::vector<Edit> fewer = edits;
            fewer.erase(fewer.begin() + qsizetype(k));
            if (fails(run(page, fewer))) {
                edits = std::move(fewer);
                dropped = true;
                break;
            }
        }
    }
    return edits;
}

} // namespace lumipage::test
