#pragma once

#include <QString>

namespace lumipage::attributetext
{

// User text inside a double-quoted attribute value: its double quotes as &quot;.
inline QString doubleQuoted(QString text)
{
    return text.replace(QLatin1Char('"'), QLatin1String("&quot;"));
}
// User text inside a single-quoted attribute value: its single quotes as &#39;.
inline QString singleQuoted(QString text)
{
    return text.replace(QLatin1Char('\''), QLatin1String("&#39;"));
}
// User text inside a VBScript string literal: its double quotes doubled.
inline QString vbString(QString text)
{
    return text.replace(QLatin1Char('"'), QLatin1String("\"\""));
}

} // namespace lumipage::attributetext
