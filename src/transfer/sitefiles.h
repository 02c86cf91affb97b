#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace lumipage::sitefiles
{

// What a file is to the site; pictures and other files go up before the sheets that
// name them, and sheets before the pages, so a page never shows a picture not yet there.
enum class Kind { Other, Sheet, Page };
enum class State {
    Present, // inside the root and on the disk: published
    Missing, // named but not on the disk
    Outside  // on the disk or not, but outside the site's root: never sent
};

struct SiteFile {
    QString path;     // absolute, cleaned
    QString relative; // its place under the root ("img/a.png"); for a file outside, `path`
    Kind kind = Kind::Other;
    State state = State::Present;
    QString namedIn; // `relative` of the page or sheet that names it first (empty: the page)
    QString namedAs; // the name as written there
};

struct Options {
    bool linkedPages = false; // also the local pages the page links to, with their files
};

// The page at `pagePath` and every local file it needs, each once, in the order they are
// first named: what its elements name (pictures with their srcset candidates, sheets,
// scripts, frames, sounds, image maps, effects' pictures named in its scripts), the files
// its style elements, style attributes and sheets name by url() and @import (sheets
// read in their own encoding, followed to any depth), and the files of its frames' pages.
// Relative places are kept under `root`.
QList<SiteFile> siteFiles(const QString &pagePath, const QString &root,
                          const Options &options = {});

// Warnings about names a server may not keep as the disk does (in Japanese, one per
// line): non-ASCII characters, spaces, two names that differ only in case, and names
// written in another case than the file on the disk has.
QStringList nameWarnings(const QList<SiteFile> &files);

} // namespace lumipage::sitefiles
