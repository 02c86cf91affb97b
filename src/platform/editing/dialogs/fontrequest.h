#pragma once

#include <QJsonObject>
#include <QString>

namespace lumipage
{

// The font dialog's fields: typeface, HTML size 1–7, colour, and the three styles.
struct FontFields {
    QString face;
    QString size;
    QString color;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// What the font dialog asks of the page: only what differs from the selection's current
// font goes into `request`; `problem` says why the fields cannot be applied.
struct FontRequest {
    QJsonObject request;
    QString problem;
};

FontRequest fontRequest(const FontFields &fields, const FontFields &current);

// A colour text as the page takes it ("#rrggbb"), from a name, "#rgb", "#rrggbb" or the
// engine's "rgb(r, g, b)"; empty when it is no colour.
QString pageColour(const QString &text);

} // namespace lumipage
