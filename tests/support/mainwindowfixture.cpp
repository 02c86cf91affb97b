#include "support/mainwindowfixture.h"

#include "support/testsupport.h"

#include "app/document.h"

namespace lumipage::test
{

bool MainWindowFixture::create()
{
    auto scripted = std::make_unique<ScriptedCommonDialog>();
    auto recording = std::make_unique<RecordingShell>();
    dialog = scripted.get();
    shell = recording.get();
    window = new MainWindow(std::move(scripted), std::move(recording));
    window->show();
    return waitForComplete(*window->editor());
}

void MainWindowFixture::destroy()
{
    delete window;
    window = nullptr;
}

bool MainWindowFixture::reuse()
{
    if (!window)
        return create();
    closeModals();
    shell->opened.clear();
    dialog->files.clear();
    dialog->colours.clear();
    dialog->shown = 0;
    if (editor().BrowseMode()) {
        editor().setBrowseMode(false);
        if (!waitForComplete(editor()))
            return false;
    }
    return setPage(QString());
}

WebEngineEditingComponent &MainWindowFixture::editor() const
{
    return *static_cast<WebEngineEditingComponent *>(window->editor());
}

bool MainWindowFixture::setPage(const QString &body) const
{
    if (!setBody(editor(), body))
        return false;
    return test::waitFor(
        [this] { return window->document().snapshot() == editor().DocumentHTML(); }, 5000);
}

} // namespace lumipage::test
