#include "platform/editing/editingcommands.h"

#include <QRegularExpression>

namespace lumipage
{

QString tableCountsProblem(const InsertTableParam &param)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,7}$"));
    const auto check = [](const QString &text, int maximum, const QString &what) -> QString {
        if (!digits.match(text).hasMatch() || text.toInt() < 1 || text.toInt() > maximum)
            return QStringLiteral("%1は1から%2までの整数で指定してください。（入力：「%3」）")
                .arg(what)
                .arg(maximum)
                .arg(text);
        return {};
    };
    const QString rows = check(param.NumRows, 1000, QStringLiteral("行数"));
    return rows.isEmpty() ? check(param.NumCols, 100, QStringLiteral("列数")) : rows;
}

} // namespace lumipage
