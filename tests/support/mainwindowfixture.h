#pragma once

#include "support/scripteddialogs.h"

#include "app/mainwindow.h"
#include "platform/editing/webengineeditingcomponent.h"

namespace lumipage::test
{

// A shown main window with a scripted common dialog and a recording shell, its first
// page loaded; made afresh for each test function, or made once and reused where the
// checks do not need a window of their own (a window costs the engine a new page).
struct MainWindowFixture {
    MainWindow *window = nullptr;
    ScriptedCommonDialog *dialog = nullptr;
    RecordingShell *shell = nullptr;

    // Creates and shows the window; false when its page did not load.
    bool create();
    void destroy();
    // Creates the window the first time; later, puts it back to editing an empty,
    // unchanged page with nothing recorded and nothing left open. False when that fails.
    bool reuse();
    WebEngineEditingComponent &editor() const;
    // A page with `body`, loaded and snapshotted as the page snapshot.
    bool setPage(const QString &body) const;
};

} // namespace lumipage::test
