#pragma once

#include <QByteArray>
#include <QString>

namespace lumipage::atomicfile
{

// How a write went: written, or which step failed with which system error.
struct Result {
    bool ok = false;
    bool opened = false; // the temporary file was made (a failure later is a write failure)
    int errnum = 0;      // errno of the step that failed
    QString systemText;  // the system's words for it
};

// Writes `bytes` to `path` so that the file is always either its old bytes or the new
// ones, also when the program is killed or the machine stops midway: the bytes go to a
// temporary file of ours in the same folder, are flushed to the disk, and the temporary
// file is renamed over `path`. A symbolic link is followed (its target is written); an
// existing file keeps its permissions; a file that may not be written is refused. On a
// failure the temporary file goes and the old file stays whole.
Result write(const QString &path, const QByteArray &bytes);

// Whether `fileName` names one of our temporary files.
bool isTemporaryName(const QString &fileName);
// Removes the temporary files in `folder` that a write killed midway left behind: those
// of processes on this machine that no longer run, and those nobody has touched for an
// hour (a write from another machine on a shared folder). The count removed.
int removeStaleTemporaries(const QString &folder);

} // namespace lumipage::atomicfile
