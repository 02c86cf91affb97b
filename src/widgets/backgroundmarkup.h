#pragma once

#include <QString>

#include <optional>

namespace lumipage
{

// "bgProperties=fixed" for "固定する", "bgProperties=none" for "固定しない", else nothing.
std::optional<QString> backgroundProperties(const QString &patternText);

// What replaces "<BODY": "<BODY background=" + path + " " + properties.
QString backgroundAttr(const QString &path, const QString &properties);

// The same start-tag text as the editing component writes it back (attribute names in
// lower case, values quoted where needed), so the page can be searched after a reload.
QString serialisedTagStart(const QString &tagStart);

// Position (from 1; 0 when absent) of the background text in the page, as written by
// the dialog or as written back by the component.
qsizetype findBackground(const QString &html, const QString &backgroundAttr);

// The page with the background text taken off again ("<BODY" in its place).
QString removeBackground(QString html, const QString &backgroundAttr);

} // namespace lumipage
