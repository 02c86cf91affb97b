#include "widgets/backgroundmarkup.h"

#include <QRegularExpression>

namespace lumipage
{

std::optional<QString> backgroundProperties(const QString &patternText)
{
    if (patternText == QStringLiteral("固定する"))
        return QStringLiteral("bgProperties=fixed");
    if (patternText == QStringLiteral("固定しない"))
        return QStringLiteral("bgProperties=none");
    return std::nullopt;
}

QString backgroundAttr(const QString &path, const QString &properties)
{
    return QStringLiteral("<BODY background=") + path + QLatin1Char(' ') + properties;
}

QString serialisedTagStart(const QString &tagStart)
{
    // Attributes as an HTML parser reads them: name, then an optional bare or quoted value.
    static const QRegularExpression attribute(
        QStringLiteral(R"re(\s*([^\s"'>/=]+)(?:\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]*)))?)re"));
    static const QRegularExpression bare(QStringLiteral(R"re(^[^\s"'`=<>&]+$)re"));
    const qsizetype nameEnd = tagStart.indexOf(QRegularExpression(QStringLiteral("[\\s>]")));
    QString out = nameEnd < 0 ? tagStart : tagStart.left(nameEnd).toUpper();
    if (nameEnd < 0)
        return out;
    auto it = attribute.globalMatch(tagStart, nameEnd);
    while (it.hasNext()) {
        const auto match = it.next();
        QString value = match.captured(2) + match.captured(3) + match.captured(4);
        out += QLatin1Char(' ') + match.captured(1).toLower() + QLatin1Char('=');
        out += bare.match(value).hasMatch() ? value
                                            : QLatin1Char('"') +
                                                  value.replace('&', QLatin1String("&amp;"))
                                                      .replace('"', QLatin1String("&quot;")) +
                                                  QLatin1Char('"');
    }
    return out;
}

qsizetype findBackground(const QString &html, const QString &backgroundAttr)
{
    const qsizetype exact = html.indexOf(backgroundAttr);
    if (exact >= 0 || backgroundAttr.isEmpty())
        return exact + 1;
    return html.indexOf(serialisedTagStart(backgroundAttr)) + 1;
}

QString removeBackground(QString html, const QString &backgroundAttr)
{
    if (backgroundAttr.isEmpty())
        return html;
    html.replace(backgroundAttr, QStringLiteral("<BODY"));
    return html.replace(serialisedTagStart(backgroundAttr), QStringLiteral("<BODY"));
}

} // namespace lumipage
