#pragma once

#include "app/palettewindow.h"
#include "commands/commandid.h"
#include "platform/desktop/commondialog.h"
#include "fragments/imagemarkup.h"
#include "platform/desktop/shell.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSplitter;
class QToolBar;

namespace lumipage
{

class CommandActions;
class ContextMenuController;
class Document;
class InsertionController;
class PageCommands;
class DocumentFiles;
class DocumentRecovery;
class FileDrops;
class WebImageInsertion;
class EditingComponent;
class SourcePane;
class SourcePaneController;
class SourcePaneLayout;
class PageCheckController;
class StyleController;
class StateRefresh;

// The main window `Form1`: toolbar, object buttons, mode indicator, the two lists and
// the editing surface `DHTMLEdit1`. Lives for the whole run and owns the surface, the
// common dialog, the shell and the controllers that do the work (the insertion
// controller owns the values shared across the run); it only wires them.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // `commonDialog` and `shell` may be replaced (tests script them); null: the real ones.
    explicit MainWindow(std::unique_ptr<CommonDialog> commonDialog = {},
                        std::unique_ptr<Shell> shell = {}, QWidget *parent = nullptr);
    ~MainWindow() override;

    EditingComponent *editor() const { return m_editor; }
    InsertionController &insertion() { return *m_insertion; }
    DocumentRecovery &recovery() { return *m_recovery; }
    CommonDialog &commonDialog() { return *m_commonDialog; }
    Shell &shell() { return *m_shell; }

    Document &document() { return *m_document; }
    CommandActions &actions() { return *m_actions; }
    QAction *action(CommandId id) const;

    // For tests and scripts, by the design's names: the toolbar button's action by its key,
    // a menu item (command, submenu or separator) by its control name.
    QAction *toolbarButton(const QString &key) const;
    QAction *menuItem(const QString &name) const;
    QPushButton *objectButton(int index) const { return m_objectButtons.at(index); }
    PaletteWindow *palette() const;
    QLineEdit *modeIndicator() const { return m_modeIndicator; }
    QComboBox *elementList() const { return m_elementList; }
    QComboBox *effectsList() const { return m_effectsList; }
    // The page's source beside the page (shown by ソースを並べて表示).
    SourcePane *sourcePane() const { return m_sourcePane; }

    // Runs a command of the main window, whatever its action's state.
    void run(CommandId command);

    // Opens a page named on the command line; a page that cannot be read is reported.
    void openFile(const QString &path);

    // What the surface's height becomes for an outer height (in pixels).
    static int surfaceHeightFor(int outerHeight);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildControls();
    // New pictures (image dialog, drops) go through the web-copy offer.
    ImageMarkupRoad webImageRoad();
    void buildToolbar();
    void buildMenus();
    // A mode switch chosen from the menu: the command, then the two mode items swap.
    void switchModeFromMenu(CommandId id);
    void registerCommands();
    void applyStartState();
    void applyResizeRules();
    void closeOtherWindows();
    void confirmExit();

    std::unique_ptr<CommonDialog> m_commonDialog;
    std::unique_ptr<Shell> m_shell;
    EditingComponent *m_editor = nullptr;
    QSplitter *m_pageSplitter = nullptr; // the page and its source pane
    SourcePane *m_sourcePane = nullptr;
    QWidget *m_client = nullptr;
    QToolBar *m_toolbar = nullptr;
    CommandActions *m_actions = nullptr;
    QHash<QString, QAction *> m_menuItems; // submenus and separators, by control name
    QList<QPushButton *> m_objectButtons;
    QLineEdit *m_modeIndicator = nullptr;
    QComboBox *m_elementList = nullptr;
    QComboBox *m_effectsList = nullptr;
    std::unique_ptr<Document> m_document;
    std::unique_ptr<PageCommands> m_commands;
    std::unique_ptr<DocumentFiles> m_files;
    std::unique_ptr<StateRefresh> m_refresh;
    std::unique_ptr<ContextMenuController> m_contextMenu;
    std::unique_ptr<InsertionController> m_insertion;
    std::unique_ptr<DocumentRecovery> m_recovery;
    std::unique_ptr<FileDrops> m_drops;
    std::unique_ptr<WebImageInsertion> m_webImages; // the web-copy offer for new pictures
    std::unique_ptr<SourcePaneController> m_sourcePaneController;
    std::unique_ptr<SourcePaneLayout> m_sourcePaneLayout;
    std::unique_ptr<PageCheckController> m_pageCheck;
    StyleController *m_styles = nullptr; // owned by the window
};

} // namespace lumipage
