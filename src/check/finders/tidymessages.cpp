#include "check/finders/tidymessages.h"

#include <algorithm>
#include <iterator>

namespace lumipage::check
{

namespace
{

enum class Shown { Each, Summarised, Omitted };

// One row per code: the code's name, how it is shown, and our text, in which %1, %2 and
// %3 stand for the values tidy's own message names in that order.
struct Row {
    const char *code;
    Shown shown;
    const char16_t *text;
};

// clang-format off
constexpr Row kRows[] = {
    // Elements not closed, closed out of order, or end tags with no start.
    {"MISSING_ENDTAG_BEFORE",      Shown::Each,       u"<%1> が閉じられていません（%2 の前で閉じていません）"},
    {"MISSING_ENDTAG_FOR",         Shown::Each,       u"<%1> が閉じられていません"},
    {"UNEXPECTED_END_OF_FILE",     Shown::Each,       u"%1 が閉じられないままファイルが終わっています"},
    {"NON_MATCHING_ENDTAG",        Shown::Each,       u"</%2> の位置が合っていません（要素を閉じる順が入れ違っています）"},
    {"UNEXPECTED_ENDTAG",          Shown::Each,       u"</%1> に対応する開始タグがありません"},
    {"UNEXPECTED_ENDTAG_ERR",      Shown::Each,       u"</%1> に対応する開始タグがありません"},
    {"UNEXPECTED_ENDTAG_IN",       Shown::Each,       u"<%2> の中の </%1> に対応する開始タグがありません"},
    {"DISCARDING_UNEXPECTED",      Shown::Each,       u"%1 はここでは読み捨てられます（対応する開始タグがないか、ここに置けません）"},
    {"COERCE_TO_ENDTAG",           Shown::Each,       u"<%1> は </%2> の書き誤りかもしれません"},
    {"MISSING_STARTTAG",           Shown::Each,       u"<%1> の開始タグがありません"},
    {"ELEMENT_NOT_EMPTY",          Shown::Each,       u"%1 が閉じられていないか、中身があってはならない要素に中身があります"},
    {"TAG_NOT_ALLOWED_IN",         Shown::Each,       u"%1 は <%2> の中に置けません"},
    {"CANT_BE_NESTED",             Shown::Each,       u"%1 は入れ子にできません"},
    {"ILLEGAL_NESTING",            Shown::Each,       u"%1 は入れ子にすべきではありません"},
    {"CONTENT_AFTER_BODY",         Shown::Each,       u"</body> の後に内容があります"},
    {"TOO_MANY_ELEMENTS",          Shown::Each,       u"%1 が多すぎます"},
    {"TOO_MANY_ELEMENTS_IN",       Shown::Each,       u"<%2> の中に %1 が多すぎます"},
    // Ids and attributes.
    {"ANCHOR_NOT_UNIQUE",          Shown::Each,       u"id「%2」が重複しています（%1）"},
    {"PROPRIETARY_ATTRIBUTE",      Shown::Summarised, u"%1 に属性「%2」はありません"},
    {"MISMATCHED_ATTRIBUTE_WARN",  Shown::Summarised, u"%1 の属性「%2」は %3 にはありません（古い書き方です）"},
    {"MISMATCHED_ATTRIBUTE_ERROR", Shown::Summarised, u"%1 の属性「%2」は %3 にはありません"},
    {"BAD_SUMMARY_HTML5",          Shown::Summarised, u"%1 の属性「summary」は HTML5 で廃止されました"},
    {"INVALID_ATTRIBUTE",          Shown::Each,       u"%1 の属性名「%2」は正しくありません"},
    {"REPEATED_ATTRIBUTE",         Shown::Each,       u"%1 に属性「%3」が二度書かれています"},
    {"JOINING_ATTRIBUTE",          Shown::Each,       u"%1 に属性「%2」が二度書かれています"},
    {"BAD_ATTRIBUTE_VALUE",        Shown::Each,       u"%1 の属性「%2」の値「%3」は正しくありません"},
    {"MISSING_ATTR_VALUE",         Shown::Each,       u"%1 の属性「%2」に値がありません"},
    {"MISSING_ATTRIBUTE",          Shown::Each,       u"%1 に必要な属性「%2」がありません"},
    {"MISSING_QUOTEMARK",          Shown::Each,       u"%1 の属性の値の終わりに引用符がありません"},
    {"SUSPECTED_MISSING_QUOTE",    Shown::Each,       u"属性の値の引用符が欠けているようです"},
    {"UNEXPECTED_QUOTEMARK",       Shown::Each,       u"%1 に余分な引用符があります"},
    {"UNEXPECTED_GT",              Shown::Each,       u"%1 のタグが「>」で閉じられていません"},
    {"UNEXPECTED_EQUALSIGN",       Shown::Each,       u"%1 に属性名のない「=」があります"},
    {"UNEXPECTED_END_OF_FILE_ATTR",Shown::Each,       u"%1 の属性の途中でファイルが終わっています"},
    // Obsolete and unknown elements.
    {"REMOVED_HTML5",              Shown::Summarised, u"%1 は HTML5 で廃止された要素です"},
    {"OBSOLETE_ELEMENT",           Shown::Summarised, u"%1 は廃止された要素です（%2 を使います）"},
    {"ELEMENT_VERS_MISMATCH_WARN", Shown::Summarised, u"%1 は %2 にない要素です"},
    {"ELEMENT_VERS_MISMATCH_ERROR",Shown::Summarised, u"%1 は %2 にない要素です"},
    {"PROPRIETARY_ELEMENT",        Shown::Summarised, u"%1 は標準の要素ではありません"},
    {"UNKNOWN_ELEMENT",            Shown::Summarised, u"%1 という要素はありません"},
    {"UNKNOWN_ELEMENT_LOOKS_CUSTOM",Shown::Summarised,u"%1 という要素はありません"},
    // The document as a whole.
    {"MISSING_DOCTYPE",            Shown::Each,       u"文書型宣言（<!DOCTYPE>）がありません"},
    {"MALFORMED_DOCTYPE",          Shown::Each,       u"文書型宣言（<!DOCTYPE>）の書き方が正しくありません"},
    {"DOCTYPE_AFTER_TAGS",         Shown::Each,       u"文書型宣言（<!DOCTYPE>）が要素の後にあります"},
    {"MISSING_TITLE_ELEMENT",      Shown::Each,       u"ページのタイトル（<title>）がありません"},
    {"DUPLICATE_FRAMESET",         Shown::Each,       u"<frameset> が二つあります"},
    {"MALFORMED_COMMENT_EOS",      Shown::Each,       u"コメントが閉じられないままファイルが終わっています"},
    {"MALFORMED_COMMENT_DROPPING", Shown::Each,       u"コメントの書き方が正しくありません（「-」が足りません）"},
    // Character references.
    {"UNKNOWN_ENTITY",             Shown::Summarised, u"文字参照「%1」はありません"},
    {"MISSING_SEMICOLON",          Shown::Summarised, u"文字参照「%1」が「;」で終わっていません"},
    {"MISSING_SEMICOLON_NCR",      Shown::Summarised, u"文字参照「%1」が「;」で終わっていません"},
    {"INVALID_NCR",                Shown::Each,       u"%1 の文字参照 %2 は正しくありません"},
    // Left out: tidy's notes on its own repairs, told already by a report above, and
    // what the page check reports itself (an image's alt text, the charset declaration)
    // or what does not reach a visitor (encoding notes on the UTF-8 text it is given).
    {"INSERTING_TAG",              Shown::Omitted,    nullptr},
    {"TRIM_EMPTY_ELEMENT",         Shown::Omitted,    nullptr},
    {"NESTED_EMPHASIS",            Shown::Omitted,    nullptr},
    {"MALFORMED_COMMENT_WARN",     Shown::Omitted,    nullptr},
    {"MALFORMED_COMMENT",          Shown::Omitted,    nullptr},
    {"ENCODING_MISMATCH",          Shown::Omitted,    nullptr},
    {"INVALID_UTF8",               Shown::Omitted,    nullptr},
    {"ADDED_MISSING_CHARSET",      Shown::Omitted,    nullptr},
    {"ATTRIBUTE_VALUE_REPLACED",   Shown::Omitted,    nullptr},
    {"INSERTING_AUTO_ATTRIBUTE",   Shown::Omitted,    nullptr},
    {"MISSING_ENDTAG_OPTIONAL",    Shown::Omitted,    nullptr},
    {"MISSING_QUOTEMARK_OPEN",     Shown::Omitted,    nullptr},
};
// clang-format on

// MISSING_ATTRIBUTE for what another finder reports or what HTML5 no longer wants.
bool coveredElsewhere(const TidyReport &report)
{
    static const QList<QStringList> covered = {
        {QStringLiteral("<img>"), QStringLiteral("alt")},
        {QStringLiteral("<table>"), QStringLiteral("summary")}};
    return report.code == "MISSING_ATTRIBUTE" && report.arguments.size() >= 2 &&
           covered.contains(report.arguments.mid(0, 2));
}

const Row *rowOf(const QByteArray &code)
{
    const auto found = std::find_if(std::begin(kRows), std::end(kRows),
                                    [&](const Row &row) { return code == row.code; });
    return found == std::end(kRows) ? nullptr : found;
}

// `text` with %1, %2 and %3 replaced by the values, in one pass (a value may hold "%2").
QString filledIn(const QString &text, const QStringList &values)
{
    QString out;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const int n = k + 1 < text.size() ? text[k + 1].digitValue() : -1;
        if (text[k] == u'%' && n >= 1 && n <= 3) {
            out += values.value(n - 1);
            ++k;
        } else {
            out += text[k];
        }
    }
    return out;
}

QList<QByteArray> codes(bool omitted)
{
    QList<QByteArray> out;
    for (const Row &row : kRows)
        if ((row.shown == Shown::Omitted) == omitted)
            out << row.code;
    return out;
}

} // namespace

std::optional<TidyText> tidyMessageText(const TidyReport &report)
{
    const Row *row = rowOf(report.code);
    if (!row)
        return TidyText{QStringLiteral("HTML の点検で報告がありました（%1）")
                            .arg(QString::fromLatin1(report.code)),
                        false};
    if (row->shown == Shown::Omitted || coveredElsewhere(report))
        return std::nullopt;
    return TidyText{filledIn(QString::fromUtf16(row->text), report.arguments),
                    row->shown == Shown::Summarised};
}

QList<QByteArray> mappedTidyCodes()
{
    return codes(false);
}

QList<QByteArray> omittedTidyCodes()
{
    return codes(true);
}

QString othersSuffix(int others)
{
    return others > 0 ? QStringLiteral("（ほか %1 箇所）").arg(others) : QString();
}

} // namespace lumipage::check
