#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

namespace lumipage::shownfiles
{

// The names a style sheet's text gives to url(), in order, without their quotes.
QStringList cssUrls(const QString &css);

// The local files a page shows or plays, as a browser opening the saved file loads
// them: what its elements name (pictures, sounds, style sheets, frames) and the pictures
// CSS names by url() in its style attributes, its style elements and the local style
// sheets it links (their names resolved in the sheet's folder). `pageFolder` is empty
// for a page never saved.
QSet<QString> filesShown(const QString &html, const QString &pageFolder);

// The page with each file: URL in its tags and style elements ("file:///home/a.png",
// "file://localhost/home/a.png") named on `filesOrigin` instead ("scheme://host", the
// path kept), since a page shown on a scheme of ours may not load file: addresses.
// Text, comments and scripts keep theirs: a script never reaches a file through it.
QString withFileUrlsOn(const QString &html, const QString &filesOrigin);
// The same for a style sheet's text.
QString cssWithFileUrlsOn(const QString &css, const QString &filesOrigin);

} // namespace lumipage::shownfiles
