#include "check/finders/htmlfindings.h"

#include "check/finders/parsedpage.h"
#include "platform/markup/textcodec.h"

#include <QHash>

#include <tidy/tidy.h>

#include <climits>

namespace lumipage::check
{

namespace
{

Bool TIDY_CALL collect(TidyMessage message)
{
    const TidyReportLevel level = tidyGetMessageLevel(message);
    if (level == TidyWarning || level == TidyError || level == TidyBadDocument ||
        level == TidyFatal) {
        TidyReport report;
        report.code = tidyGetMessageKey(message);
        report.line = tidyGetMessageLine(message);
        report.column = tidyGetMessageColumn(message);
        for (TidyIterator at = tidyGetMessageArguments(message); at;) {
            TidyMessageArgument argument = tidyGetNextMessageArgument(message, &at);
            report.arguments << (tidyGetArgType(message, &argument) == tidyFormatType_STRING
                                     ? QString::fromUtf8(tidyGetArgValueString(message, &argument))
                                     : QString::number(tidyGetArgValueUInt(message, &argument)));
        }
        static_cast<QList<TidyReport> *>(tidyGetAppData(tidyGetMessageDoc(message)))
            ->append(report);
    }
    return no; // nothing is written anywhere
}

PageFinding htmlFinding(const QString &message, int line, const QString &element, int ordinal)
{
    return {FindingKind::Html, message, line, element, ordinal};
}

} // namespace

QList<TidyReport> tidyReports(const QByteArray &utf8)
{
    QList<TidyReport> reports;
    TidyDoc doc = tidyCreate();
    tidySetAppData(doc, &reports);
    tidySetMessageCallback(doc, collect);
    tidyOptSetValue(doc, TidyInCharEncoding, "utf8");
    tidyOptSetBool(doc, TidyShowWarnings, yes);
    tidyOptSetBool(doc, TidyShowInfo, no);
    tidyOptSetInt(doc, TidyShowErrors, INT_MAX);
    tidyOptSetInt(doc, TidyTabSize, 1); // columns count characters
    if (tidyParseString(doc, utf8.constData()) >= 0) {
        // Repairing the tree is what makes tidy check attributes and elements against
        // the page's HTML version; the repaired tree is thrown away.
        tidyCleanAndRepair(doc);
        tidyRunDiagnostics(doc);
    }
    tidyRelease(doc);
    return reports;
}

QList<PageFinding> htmlFindings(const ParsedPage &page, const QList<TidyReport> &reports)
{
    QList<PageFinding> out;
    QHash<QString, qsizetype> firsts; // summarised code and values → index in `out`
    QHash<qsizetype, int> others;
    for (const TidyReport &report : reports) {
        const std::optional<TidyText> text = tidyMessageText(report);
        if (!text)
            continue;
        const QString key = QString::fromLatin1(report.code) + u'\n' + report.arguments.join(u'\n');
        if (text->summarised && firsts.contains(key)) {
            ++others[firsts.value(key)];
            continue;
        }
        const int ordinal =
            report.line > 0 ? page.elementAt(page.positionAt(report.line, report.column)) : -1;
        const QString name = ordinal >= 0 ? page.elements()[size_t(ordinal)].name : QString();
        if (text->summarised)
            firsts.insert(key, out.size());
        out << htmlFinding(text->message, report.line, name, ordinal);
    }
    for (auto it = others.cbegin(); it != others.cend(); ++it)
        out[it.key()].message += othersSuffix(it.value());
    return out;
}

QList<PageFinding> charsetFindings(const ParsedPage &page, const QByteArray &encoding)
{
    // The declaration as browsers look for it, in the page's first bytes.
    const QByteArray label = textcodec::metaCharset(page.utf8());
    const auto at = [&]() -> std::pair<int, int> {
        const QString needle = QString::fromLatin1(label);
        for (size_t k = 0; k < page.elements().size(); ++k) {
            const CheckedElement &e = page.elements()[k];
            if (e.name == u"META" &&
                page.text().mid(e.start, e.tagEnd - e.start).contains(needle, Qt::CaseInsensitive))
                return {e.line, int(k)};
        }
        return {0, -1};
    };
    if (label.isEmpty())
        return {htmlFinding(QStringLiteral("文字コードの宣言（<meta charset>）がありません"), 0, {},
                            -1)};
    const QByteArray declared = textcodec::encodingForLabel(label);
    const QByteArray actual = textcodec::encodingForLabel(encoding);
    const auto [line, ordinal] = at();
    const QString name = ordinal >= 0 ? QStringLiteral("META") : QString();
    if (declared.isEmpty())
        return {htmlFinding(
            QStringLiteral("文字コードの宣言「%1」はブラウザの知らない名前です").arg(label), line,
            name, ordinal)};
    if (!actual.isEmpty() && declared != actual)
        return {htmlFinding(QStringLiteral("文字コードの宣言「%1」がファイルの文字コード（%2）と"
                                           "違います")
                                .arg(QString::fromLatin1(label), QString::fromLatin1(encoding)),
                            line, name, ordinal)};
    return {};
}

} // namespace lumipage::check
