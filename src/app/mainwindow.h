#pragma once

#include "dialogs/elements/palettewindow.h"
#include "insert/sharedvalues.h"
#include "platform/commondialog.h"
#include "platform/shell.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolBar;

namespace lumipage
{

class ContextMenuController;
class InsertionLists;
class PageCommands;
class DocumentFiles;
class EditingComponent;
class StateRefresh;

// The main window `Form1`: toolbar, object buttons, mode indicator, the two lists and
// the editing surface `DHTMLEdit1`. Lives for the whole run and owns the surface, the
// shared values, the common dialog, the shell and the palette window; the work is done
// by small controllers that take what they need by reference.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // `commonDialog` and `shell` may be replaced (tests script them); null: the real ones.
    explicit MainWindow(std::unique_ptr<CommonDialog> commonDialog = {},
                        std::unique_ptr<Shell> shell = {}, QWidget *parent = nullptr);
    ~MainWindow() override;

    EditingComponent *editor() const { return m_editor; }
    SharedValues &shared() { return m_shared; }
    CommonDialog &commonDialog() { return *m_commonDialog; }
    Shell &shell() { return *m_shell; }

    // Toolbar button by 1-based position, or by key; menu item by control name.
    QAction *toolbarButton(int index) const;
    QAction *toolbarButton(const QString &key) const;
    QAction *menuItem(const QString &name) const;
    QPushButton *objectButton(int index) const { return m_command6.at(index); }
    PaletteWindow *palette() const;
    QLineEdit *modeIndicator() const { return m_text4; }
    QComboBox *elementList() const { return m_combo1; }
    QComboBox *effectsList() const { return m_combo2; }

    // Runs a procedure of the main window by name; unknown names do nothing.
    void run(const QString &procedure);

    // The page snapshot (`Text7`) and the source-window reference (`Text2`).
    QString Text7;
    QString Text2;

    // Opens a page named on the command line; a page that cannot be read is reported.
    void openFile(const QString &path);
    // Public procedures the dialogs call.
    void veld_go();
    // Pastes insert_html, then merges the pending effect's script behind it.
    void goscript();
    // Inserts the table of the shared table values; false with `reason` when refused.
    bool creat_hyou(QString *reason = nullptr);

    // What the surface's height becomes for an outer height (in pixels).
    static int surfaceHeightFor(int outerHeight);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void buildToolbar();
    void buildMenus();
    void registerProcedures();
    void Form_Load();
    void applyResizeRules();
    void closeOtherWindows();
    void cmd_owari();
    void html_paste();
    void Command5_Click();

    SharedValues m_shared;
    std::unique_ptr<CommonDialog> m_commonDialog;
    std::unique_ptr<Shell> m_shell;
    EditingComponent *m_editor = nullptr;
    QWidget *m_client = nullptr;
    QToolBar *m_toolbar = nullptr;
    QList<QAction *> m_toolbarButtons;
    QHash<QString, QAction *> m_menuItems;
    QList<QPushButton *> m_command6;
    QLineEdit *m_text4 = nullptr;
    QComboBox *m_combo1 = nullptr;
    QComboBox *m_combo2 = nullptr;
    QHash<QString, std::function<void()>> m_procedures;
    std::unique_ptr<PageCommands> m_commands;
    std::unique_ptr<DocumentFiles> m_files;
    std::unique_ptr<StateRefresh> m_refresh;
    std::unique_ptr<ContextMenuController> m_contextMenu;
    std::unique_ptr<InsertionLists> m_lists;
};

} // namespace lumipage
