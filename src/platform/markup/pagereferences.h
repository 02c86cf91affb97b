#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>

namespace lumipage::pagereferences
{

// A file on the local disk that the page names in one of its elements' attributes.
struct LocalReference {
    QString element;   // "IMG"
    QString attribute; // "src"
    QString value;     // as the page writes it
    QString path;      // the file it names: absolute, cleaned; empty when a relative
                       // name cannot be resolved (a page never saved)
    int line = 1;
    qsizetype start = 0;   // position of its element's start tag
    bool absolute = false; // named by an absolute path or a file: URL
    bool outside = false;  // lies outside the page's folder tree
    bool embedded = false; // shown or played by the page (not a link to follow)
};

// Whether the file's suffix, in any case, is one of `suffixes` (lower case, no dot:
// "htm", "png").
bool hasSuffix(const QString &path, std::initializer_list<const char *> suffixes);

// The local file a name in a page names (relative names resolve in `pageFolder`; empty
// when there is none), or nothing for a web address, in-page anchor and the like;
// `absolute` tells whether it was named by an absolute path or a file: URL.
std::optional<QString> localPath(const QString &value, const QString &pageFolder, bool *absolute);

// The local files the page's elements name: pictures, sounds, style sheets, scripts,
// frames and links. Web addresses, mail, data and script URLs and in-page anchors are
// not files. `pageFolder` is empty for a page never saved.
QList<LocalReference> localReferences(const QString &html, const QString &pageFolder);

// What the page check lists about files.
struct Finding {
    enum class Kind { Missing, Absolute };
    Kind kind;
    QString element;
    int line = 1;
    QString target;      // the name as written
    qsizetype start = 0; // position of the element's start tag
    // The finding in words for the user ("ファイルがありません: gone.png").
    QString message() const;
};

// References to local files that do not exist and files named by absolute local path, in
// page order.
QList<Finding> checkPage(const QString &html, const QString &pageFolder);

// Pictures and other files the page shows or plays that lie outside its folder and
// exist, each once, in page order: what the save offers to copy beside the page.
// Whether the page may name a file by absolute local path in an attribute that names
// files: a quick look over the whole text that never misses one (it may answer yes for a
// page that names none, which localReferences then tells), so that a save of a page
// without such names need not read all its tags.
bool mayNameFilesAbsolutely(const QString &html);
QStringList filesToBringIn(const QList<LocalReference> &references);

// Copying files into a page's folder.
struct CopyStep {
    QString source;
    QString target;   // absolute path in the folder
    bool copy = true; // false: an identical file is already there
};
struct CopyPlan {
    QList<CopyStep> steps;
    // File path → the name relative to the page's folder to write in its place.
    QHash<QString, QString> relativeNames;
};

// Where each file goes in `folder`: its own name when that is free or holds the same
// bytes, otherwise the first free numbered name ("photo-2.png"). An existing different
// file is never overwritten, and two files of the same name get two names.
CopyPlan planCopies(const QStringList &sources, const QString &folder);

// For each reference whose file the plan brings in: the value written now → the new
// relative name. The caller rewrites the attributes holding these values.
QHash<QString, QString> rewrites(const QList<LocalReference> &references, const CopyPlan &plan);

} // namespace lumipage::pagereferences
