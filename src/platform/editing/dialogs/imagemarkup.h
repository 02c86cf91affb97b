#pragma once

#include <QList>
#include <QPair>
#include <QString>

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

// The image's attributes in the order they are written (empty fields left out). A file
// inside `pageFolder` is named relative to it, so the page keeps working when moved.
QList<QPair<QString, QString>> imageAttributes(const ImageFields &fields,
                                               const QString &pageFolder);

// The IMG tag for the attributes.
QString imageMarkup(const ImageFields &fields, const QString &pageFolder);

} // namespace lumipage
