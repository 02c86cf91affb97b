#pragma once

#include "document/recoveryfiles.h"

class QWidget;

namespace lumipage
{

class Document;
class EditingComponent;

// Keeps the page safe from a dying editor: writes the editing surface's recent copies of
// a changed page to this editor's recovery file, removes it when the page is saved or
// given up, tells the user when the surface brought a page back, and at start offers
// what an editor that died left behind.
class DocumentRecovery
{
public:
    // `folder` holds the recovery files; empty: the user's data folder. `window` owns
    // the questions and messages.
    DocumentRecovery(EditingComponent &editor, Document &document, QWidget &window,
                     const QString &folder = {});

    // Offers the pages of editors that died; true when one was restored.
    bool offerOrphans();
    // The page was saved, or the user gave it up: its copy goes.
    void forgetPage() { m_files.remove(); }

    RecoveryFiles &files() { return m_files; }

private:
    void restore(const RecoveryFiles::Orphan &orphan);

    EditingComponent &m_editor;
    Document &m_document;
    QWidget &m_window;
    RecoveryFiles m_files;
    bool m_writeFailed = false; // the last copy could not be written (and the user was told)
};

} // namespace lumipage
