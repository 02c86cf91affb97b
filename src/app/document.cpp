#include "app/document.h"

#include "platform/editing/editingcomponent.h"

#include <utility>

namespace lumipage
{

Document::Document(EditingComponent &editor, QObject *parent) : QObject(parent), m_editor(editor)
{
    // A page that begins (loaded, new, replaced) is unchanged once it is complete; a
    // return from browse mode completes the same page, which keeps its changes.
    connect(&editor, &EditingComponent::pageBegun, this, [this] { m_begun = true; });
    connect(&editor, &EditingComponent::DocumentComplete, this, [this] {
        if (std::exchange(m_begun, false))
            markUnchanged();
    });
    connect(&editor, &EditingComponent::contentChanged, this, [this] { noteModified(true); });
}

QString Document::path() const
{
    return m_editor.documentPath();
}

QByteArray Document::encoding() const
{
    return m_editor.documentEncoding();
}

bool Document::isModified() const
{
    if (m_snapshotRevision && m_editor.pageRevision() == m_snapshotRevision)
        return false; // no change since the snapshot: nothing to read
    return m_editor.DocumentHTML() != m_snapshot;
}

void Document::setSnapshot(const QString &html)
{
    m_snapshot = html;
    m_snapshotRevision = m_editor.pageRevision();
}

void Document::markUnchanged()
{
    const std::optional<quint64> revision = m_editor.pageRevision();
    markUnchanged(m_editor.DocumentHTML(), revision);
}

void Document::markUnchanged(const QString &html, std::optional<quint64> revision)
{
    m_snapshot = html;
    m_snapshotRevision = revision;
    notePath(); // a save under a new name makes the page that file
    noteModified(false);
    emit settled();
}

void Document::markChanged()
{
    m_snapshot.clear();
    m_snapshotRevision.reset();
    noteModified(true);
}

void Document::notePath()
{
    const QString path = m_editor.documentPath();
    if (path == m_path)
        return;
    m_path = path;
    emit pathChanged(path);
}

void Document::noteModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

} // namespace lumipage
