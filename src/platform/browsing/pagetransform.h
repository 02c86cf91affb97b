#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <utility>

namespace lumipage
{

// A page made ready to be shown outside the editor: the HTML to show, and the script
// statements it leaves out, each with its page line.
struct TransformedPage {
    QString html;
    QList<std::pair<int, QString>> leftOut;
};

// Turns the editor's page into the copy that browse mode shows and the effects copy
// writes. Set by whoever creates the editing surface, which itself knows no effects.
using PageTransform = std::function<TransformedPage(const QString &html)>;

} // namespace lumipage
