#include "fragments/imagemarkup.h"

#include <QDir>
#include <QFileInfo>

namespace lumipage
{

namespace
{

bool isSmallWholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 0 && value <= 999;
}

} // namespace

QString imageSourceFor(const QString &source, const QString &pageFolder)
{
    const QString text = source.trimmed();
    if (pageFolder.isEmpty() || !QDir::isAbsolutePath(text))
        return text;
    const QString relative = QDir(pageFolder).relativeFilePath(QDir::cleanPath(text));
    return relative.startsWith(QLatin1String("..")) ? text : relative;
}

QString imageProblem(const ImageFields &fields)
{
    if (fields.source.trimmed().isEmpty())
        return QStringLiteral("画像のファイル名またはURLを指定してください。");
    const QString names[] = {QStringLiteral("枠線"), QStringLiteral("横の間隔"),
                             QStringLiteral("縦の間隔")};
    const QString values[] = {fields.border, fields.hspace, fields.vspace};
    for (int i = 0; i < 3; ++i)
        if (!values[i].trimmed().isEmpty() && !isSmallWholeNumber(values[i]))
            return names[i] + QStringLiteral("は0から999までの数字で指定してください。");
    return {};
}

QList<QPair<QString, QString>> imageAttributes(const ImageFields &fields, const QString &pageFolder)
{
    QList<QPair<QString, QString>> out;
    auto add = [&out](const char *name, const QString &value) {
        if (!value.trimmed().isEmpty())
            out.append({QLatin1String(name), value.trimmed()});
    };
    add("src", imageSourceFor(fields.source, pageFolder));
    if (!fields.alt.isEmpty())
        out.append({QStringLiteral("alt"), fields.alt});
    add("align", fields.align);
    add("border", fields.border);
    add("hspace", fields.hspace);
    add("vspace", fields.vspace);
    return out;
}

QString imageMarkup(const ImageFields &fields, const QString &pageFolder)
{
    QString tag = QStringLiteral("<IMG");
    for (const auto &[name, value] : imageAttributes(fields, pageFolder))
        tag += QStringLiteral(" %1=\"%2\"")
                   .arg(name, QString(value).replace(QLatin1Char('"'), QLatin1String("&quot;")));
    return tag + QLatin1Char('>');
}

} // namespace lumipage
