#include "insert/scriptmerge.h"

#include "insert/effectkinds.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

namespace lumipage
{

QString effectTemplateFile(EffectKind kind)
{
    const EffectKindRow *row = effectKindRow(kind);
    return row ? QString::fromLatin1(row->templateFile) : QString();
}

std::optional<QString> readEffectTemplate(const QString &path, QString *problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem)
            *problem = QStringLiteral("スクリプトのテンプレート「%1」を読めません。%2")
                           .arg(QFileInfo(path).fileName(), file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    file.close();

    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QStringDecoder sjis("windows-31j");
        text = sjis.isValid() ? QString(sjis.decode(bytes)) : QString::fromLatin1(bytes);
    }

    // Every line, the last included, ends with CR LF; a final line break adds no line.
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QString out;
    out.reserve(text.size() + lines.size());
    for (const QString &line : lines)
        out += line + QStringLiteral("\r\n");
    return out;
}

QString vbStringValue(const QString &value)
{
    static const QRegularExpression scriptEnd(QStringLiteral("</(?=script)"),
                                              QRegularExpression::CaseInsensitiveOption);
    QString out = value;
    out.replace(QLatin1Char('"'), QLatin1String("\"\""));
    out.replace(QLatin1String("\r\n"), QLatin1String("\" & Chr(13) & Chr(10) & \""));
    out.replace(QLatin1Char('\r'), QLatin1String("\" & Chr(13) & \""));
    out.replace(QLatin1Char('\n'), QLatin1String("\" & Chr(10) & \""));
    out.replace(scriptEnd, QStringLiteral("</\" & \""));
    return out;
}

ScriptMerge mergeEffectScript(EffectKind kind, const QString &templateText,
                              const EffectRequest &request, bool pageMentionsOnload)
{
    const EffectKindRow *row = effectKindRow(kind);
    if (!row || !*row->templateFile)
        return {};
    if (row->scriptRule == ScriptRule::RefusesOnOnload && pageMentionsOnload)
        return {ScriptMerge::Outcome::Refused,
                QStringLiteral("スクリプトが記述されています。ｱｸｼｮﾝは追加できません！")};
    QString script = templateText;
    for (const Placeholder &placeholder : row->placeholders)
        script.replace(QLatin1String(placeholder.text), vbStringValue(request.*placeholder.value));
    if (row->linkPlaceholders)
        for (std::size_t i = 0; i < request.linkTargets.size(); ++i)
            script.replace(QStringLiteral("[LINK%1]").arg(i),
                           vbStringValue(request.linkTargets[i]));
    return {ScriptMerge::Outcome::Block, QStringLiteral("<DIV><SCRIPT TYPE =text/vbscript>") +
                                             script + QStringLiteral("</SCRIPT></DIV>")};
}

QString effectPreviewPage(EffectKind kind, const QString &templateText,
                          const EffectRequest &request)
{
    QString body = request.fragment;
    if (request.withScript) {
        const ScriptMerge merged = mergeEffectScript(kind, templateText, request, false);
        if (merged.outcome == ScriptMerge::Outcome::Block)
            body += merged.text;
    }
    return QStringLiteral("<HTML><HEAD></HEAD><BODY>") + body + QStringLiteral("</BODY></HTML>");
}

} // namespace lumipage
