#pragma once

#include <QByteArray>
#include <QString>

#include <utility>

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

// The same write in two steps, so that other work can go on while the bytes reach the
// disk: begin() makes the temporary file durable, commit() renames it over the target.
// A write begun and not committed (a check of the bytes failed meanwhile) removes its
// temporary file when it goes; the target is never touched.
class Pending
{
public:
    Pending() = default;
    Pending(Pending &&other) noexcept { *this = std::move(other); }
    Pending &operator=(Pending &&other) noexcept;
    ~Pending();
    // How the temporary file's making went; commit() only after it went well.
    const Result &begun() const { return m_result; }
    Result commit();
    // Commits only if the target is still free: fails with EEXIST, the other file whole,
    // when something took the name meanwhile.
    Result commitNew();

private:
    friend Pending begin(const QString &path, const QByteArray &bytes);
    Result finish(bool replace);
    Result m_result;
    QByteArray m_temporary, m_target;
};
Pending begin(const QString &path, const QByteArray &bytes);
// The write of a file that must be new: never over an existing file (EEXIST).
Result writeNew(const QString &path, const QByteArray &bytes);

// Whether `fileName` names one of our temporary files.
bool isTemporaryName(const QString &fileName);
// Removes the temporary files in `folder` that a write killed midway left behind: those
// of processes on this machine that no longer run, and those nobody has touched for an
// hour (a write from another machine on a shared folder). The count removed.
int removeStaleTemporaries(const QString &folder);

} // namespace lumipage::atomicfile
