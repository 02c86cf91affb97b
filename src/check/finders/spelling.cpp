#include "check/finders/spelling.h"

#include "check/finders/parsedpage.h"
#include "check/finders/tidymessages.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <gumbo.h>
#include <hunspell/hunspell.hxx>

namespace lumipage::check
{

namespace
{

bool isLatinLetter(QChar c)
{
    return c.isLetter() && c.script() == QChar::Script_Latin;
}

bool isApostrophe(QChar c)
{
    return c == u'\'' || c == u'\u2019';
}

// A token between white space that names a place rather than saying something.
bool isAddress(QStringView token)
{
    return token.contains(u"://") || token.startsWith(u"www.", Qt::CaseInsensitive) ||
           token.contains(u'@') || token.contains(u'/') || token.contains(u'\\');
}

void addWords(const QString &text, qsizetype from, qsizetype to, QList<TextWord> &out)
{
    qsizetype k = from;
    while (k < to) {
        if (!text[k].isLetterOrNumber()) {
            ++k;
            continue;
        }
        // A run of letters and digits, with apostrophes between letters.
        const qsizetype start = k;
        bool digits = false, latin = true;
        while (k < to && (text[k].isLetterOrNumber() ||
                          (isApostrophe(text[k]) && k + 1 < to && text[k + 1].isLetter()))) {
            digits = digits || text[k].isDigit();
            latin = latin && (!text[k].isLetter() || isLatinLetter(text[k]));
            ++k;
        }
        const QString word = text.mid(start, k - start);
        const bool capitals = word.size() > 1 && word == word.toUpper();
        if (!digits && latin && !capitals && word.size() > 1)
            out << TextWord{word, start};
    }
}

// The language a part of the page is in is English, or one whose own words are not
// Latin and whose pages quote English (Japanese, Chinese, Korean).
bool checkedLanguage(const QString &lang)
{
    const QString l = lang.trimmed().toLower();
    return l.isEmpty() || l.startsWith(u"en") || l.startsWith(u"ja") || l.startsWith(u"zh") ||
           l.startsWith(u"ko");
}

template <typename Visit> void forEachText(const GumboNode *node, const Visit &visit)
{
    if (node->type == GUMBO_NODE_TEXT) {
        visit(node);
        return;
    }
    if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_DOCUMENT)
        return; // template contents are not shown
    if (node->type == GUMBO_NODE_ELEMENT) {
        const GumboTag tag = node->v.element.tag;
        if (tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE || tag == GUMBO_TAG_HEAD ||
            !checkedLanguage(attribute(node, "lang")) ||
            attribute(node, "spellcheck").trimmed().toLower() == u"false")
            return;
    }
    const GumboVector &children =
        node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : node->v.element.children;
    for (unsigned k = 0; k < children.length; ++k)
        forEachText(static_cast<const GumboNode *>(children.data[k]), visit);
}

} // namespace

QList<TextWord> wordsToCheck(const QString &text)
{
    QList<TextWord> out;
    qsizetype k = 0;
    while (k < text.size()) {
        while (k < text.size() && text[k].isSpace())
            ++k;
        const qsizetype start = k;
        while (k < text.size() && !text[k].isSpace())
            ++k;
        if (k > start && !isAddress(QStringView(text).mid(start, k - start)))
            addWords(text, start, k, out);
    }
    return out;
}

QString englishDictionary()
{
    const QString path = QStringLiteral(LUMIPAGE_HUNSPELL_EN_US);
    return QFileInfo::exists(path + QStringLiteral(".dic")) ? path : QString();
}

EnglishSpelling::EnglishSpelling(QString dictionary) : m_dictionary(std::move(dictionary)) {}

EnglishSpelling::~EnglishSpelling() = default;

void EnglishSpelling::load()
{
    std::call_once(m_loaded, [this] {
        if (m_dictionary.isEmpty() || !QFileInfo::exists(m_dictionary + QStringLiteral(".aff")))
            return;
        m_hunspell = std::make_unique<Hunspell>(
            QFile::encodeName(m_dictionary + QStringLiteral(".aff")).constData(),
            QFile::encodeName(m_dictionary + QStringLiteral(".dic")).constData());
    });
}

bool EnglishSpelling::available()
{
    load();
    return m_hunspell != nullptr;
}

bool EnglishSpelling::knows(const QString &word)
{
    load();
    if (!m_hunspell)
        return true;
    // The en_US dictionary is in UTF-8; curly apostrophes are read as straight ones.
    QString plain = word;
    plain.replace(u'\u2019', u'\'');
    return m_hunspell->spell(plain.toUtf8().toStdString());
}

QList<PageFinding> spellingFindings(const ParsedPage &page, EnglishSpelling &spelling)
{
    QList<PageFinding> out;
    if (!spelling.available())
        return {PageFinding{FindingKind::Spelling,
                            QStringLiteral("英語の辞書（hunspell-en-us）が見つからないため、"
                                           "綴りは点検していません")}};
    QHash<QString, bool> known;
    QHash<QString, qsizetype> firsts; // misspelt word → its finding
    QHash<qsizetype, int> others;
    forEachText(page.document(), [&](const GumboNode *node) {
        const QString text = QString::fromUtf8(node->v.text.text);
        const QList<TextWord> words = wordsToCheck(text);
        if (words.isEmpty())
            return;
        const int ordinal = page.ordinalOf(node->parent);
        const QString name = ordinal >= 0 ? page.elements()[size_t(ordinal)].name : QString();
        const int firstLine = page.lineAt(page.positionOfUtf8(node->v.text.start_pos.offset));
        for (const TextWord &w : words) {
            auto it = known.find(w.word);
            if (it == known.end())
                it = known.insert(w.word, spelling.knows(w.word));
            if (*it)
                continue;
            if (firsts.contains(w.word)) {
                ++others[firsts.value(w.word)];
                continue;
            }
            // Lines inside the text node: the decoded text keeps the source's line ends.
            const int line = firstLine + int(QStringView(text).left(w.position).count(u'\n'));
            firsts.insert(w.word, out.size());
            out << PageFinding{FindingKind::Spelling,
                               QStringLiteral("綴りが誤っているかもしれません: %1").arg(w.word),
                               line, name, ordinal};
        }
    });
    for (auto it = others.cbegin(); it != others.cend(); ++it)
        out[it.key()].message += othersSuffix(it.value());
    return out;
}

} // namespace lumipage::check
