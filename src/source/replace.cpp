#include "source/replace.h"

namespace lumipage
{

QString replaceAll(const QString &text, const QString &find, const QString &replacement)
{
    if (find.isEmpty())
        return text;
    if (find.size() == replacement.size()) {
        // Same length: Qt overwrites in place in one pass, with no growing string.
        QString out = text;
        out.replace(find, replacement, Qt::CaseSensitive);
        return out;
    }
    QString out;
    qsizetype from = 0;
    qsizetype at = text.indexOf(find, 0, Qt::CaseSensitive);
    if (at < 0)
        return text;
    out.reserve(text.size() + std::max<qsizetype>(0, replacement.size() - find.size()) * 16);
    while (at >= 0) {
        out.append(QStringView(text).mid(from, at - from));
        out.append(replacement);
        from = at + find.size();
        at = text.indexOf(find, from, Qt::CaseSensitive);
    }
    out.append(QStringView(text).mid(from));
    return out;
}

} // namespace lumipage
