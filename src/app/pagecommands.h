#pragma once

#include "app/commandtables.h"

#include <QPointer>
#include <QVariant>

class QWidget;

namespace lumipage
{

class CommandActions;
class CommonDialog;
class Document;
class EditingComponent;
class InsertionController;
class PaletteWindow;

// The main window's commands on the page: the one-call commands of the command table
// (colours through the common dialog) and the link, background and source dialogs. Owns the
// background-colour palette window while it is open.
class PageCommands
{
public:
    // `window` is the owner of the dialogs.
    PageCommands(EditingComponent &editor, CommonDialog &commonDialog, Document &document,
                 InsertionController &insertion, CommandActions &actions, QWidget &window);
    ~PageCommands();

    PaletteWindow *palette() const { return m_palette; }

private:
    void execCommand(int command, CommandOption option, const QVariant &value = {});
    void runCommandRow(int command, CommandOption option, CommandValue value);
    void showPalette();
    void setLink();
    void setBackgroundImage();
    void removeBackgroundImage();
    void showSource();

    EditingComponent &m_editor;
    CommonDialog &m_commonDialog;
    Document &m_document;
    InsertionController &m_insertion;
    CommandActions &m_actions;
    QWidget &m_window;
    QPointer<PaletteWindow> m_palette;
};

} // namespace lumipage
