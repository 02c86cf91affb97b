#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <functional>
#include <optional>

namespace lumipage
{

// The image dialog's fields as typed.
struct ImageFields {
    QString source; // a URL, or a file path as chosen
    QString alt;
    QString align;
    QString border;
    QString hspace;
    QString vspace;
};

// Why the fields cannot make an image, or an empty text.
QString imageProblem(const ImageFields &fields);

// The name an image's `source` is written with: a file inside `pageFolder` relative to
// it, so the page keeps working when moved; anything else as typed.
QString imageSourceFor(const QString &source, const QString &pageFolder);

// The image's attributes in the order they are written (empty fields left out). A file
// inside `pageFolder` is named relative to it, so the page keeps working when moved.
QList<QPair<QString, QString>> imageAttributes(const ImageFields &fields,
                                               const QString &pageFolder);

// The IMG tag for the attributes.
QString imageMarkup(const ImageFields &fields, const QString &pageFolder);

// What turns a picture going into the page into markup (the web-copy offer lives above
// the surface): the fragment for `fields` on a page in `pageFolder`, shown `shownWidth`
// wide (0: not known), offered as a web copy only when bigger than needed unless
// `askAlways`; nothing when the user chose to insert nothing. Where none is set,
// imageMarkup() is the road.
using ImageMarkupRoad = std::function<std::optional<QString>(
    const ImageFields &fields, const QString &pageFolder, int shownWidth, bool askAlways)>;

} // namespace lumipage
