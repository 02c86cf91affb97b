#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

namespace lumipage
{

class EditingComponent;

// The open page as a document: its file and encoding (as the surface read or wrote
// them), whether it has changed since it was last loaded or saved, and the text last
// handed to the source window. The change test asks the page how many changes it has
// had: none since the snapshot was taken (when the page was loaded or saved) is the
// answer, with nothing serialised. Only after changes (an undo may have brought the
// page back) is the page's text compared exactly with the snapshot; it runs only when
// asked (before the page would be replaced), never per keystroke.
class Document : public QObject
{
    Q_OBJECT
public:
    explicit Document(EditingComponent &editor, QObject *parent = nullptr);

    // The file the page was read from or saved to (empty for a new page).
    QString path() const;
    QByteArray encoding() const;

    // Whether the page's text differs from the snapshot.
    bool isModified() const;
    // The page's text at its last load or save (the background image rewrites it too).
    const QString &snapshot() const { return m_snapshot; }
    void setSnapshot(const QString &html);
    // The page as it stands now counts as unchanged (after a load or a save).
    void markUnchanged();
    // The page, whose text was just read as `html` when it had had `revision` changes,
    // counts as unchanged (after a save).
    void markUnchanged(const QString &html, std::optional<quint64> revision);
    // The page counts as changed whatever its text (a page restored from a copy).
    void markChanged();

    // The page's text as last handed to the source window.
    const QString &sourceText() const { return m_sourceText; }
    void setSourceText(const QString &text) { m_sourceText = text; }

signals:
    // The page may have changed (the first change after a load or save), or counts as
    // unchanged again.
    void modifiedChanged(bool modified);
    // The page now counts as unchanged: it was just opened or saved.
    void settled();
    void pathChanged(const QString &path);

private:
    void notePath();
    void noteModified(bool modified);

    EditingComponent &m_editor;
    QString m_snapshot;
    QString m_sourceText;
    QString m_path;
    bool m_modified = false;
    // The page's change count when the snapshot was taken; nullopt when not known (the
    // text is compared then).
    std::optional<quint64> m_snapshotRevision;
    bool m_begun = true; // the surface's first page may begin before this object
};

} // namespace lumipage
