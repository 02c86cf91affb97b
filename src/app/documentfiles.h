#pragma once

#include "app/recentfiles.h"

#include <QSettings>
#include <QString>

#include <optional>

class QWidget;

namespace lumipage
{

class CommandActions;
class CommonDialog;
class Document;
class DocumentRecovery;
class EditingComponent;
class PageGuard;
class Shell;

// The page as a file: new, open, save, preview in the desktop's browser, the list of
// recent files, the page check and the program's information texts.
class DocumentFiles
{
public:
    // Registers the file commands with `actions` (the keep-markup one checkable, set with
    // the editor from the settings); `window` owns the dialogs and messages.
    DocumentFiles(EditingComponent &editor, Document &document, CommonDialog &commonDialog,
                  Shell &shell, DocumentRecovery &recovery, CommandActions &actions,
                  QWidget &window);

    void newDocument();
    void openDocument();
    // Opens `path` as 開く does, after the same question about a changed page.
    void openAsked(const QString &path);
    // Opens `path` without asking (the command line); a page that cannot be read is
    // reported and the open page stays.
    void openPath(const QString &path);
    // The page's lock, read-only mode and watch on its file.
    PageGuard &guard() { return *m_guard; }
    // The pages opened or saved last.
    RecentFiles &recent() { return m_recent; }
    // Saves through the save dialog; true only when the page was written, which then
    // counts as unchanged.
    bool saveDocument();
    void preview();
    // Writes a copy of the page that plays its effects in today's browsers.
    void exportForModernBrowsers();
    // Opens a file beside the program with the desktop's viewer.
    void openInformation(const QString &name);

    // Where the preview copy goes: the program folder, or the user's cache folder
    // when the program folder cannot be written.
    static QString previewPath();

private:
    // A file name from the save dialog, confirmed when the file exists; none on cancel.
    std::optional<QString> askSavePath();
    // Asks about a changed page before another is opened; false when it stays.
    bool mayLeavePage();

    EditingComponent &m_editor;
    Document &m_document;
    CommonDialog &m_commonDialog;
    Shell &m_shell;
    DocumentRecovery &m_recovery;
    QWidget &m_window;
    QSettings m_settings;
    RecentFiles m_recent;
    PageGuard *m_guard; // a child of the window
};

} // namespace lumipage
