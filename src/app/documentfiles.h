#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <optional>

namespace lumipage
{

class MainWindow;

// The page as a file: new, open, save, preview in the desktop's browser, and the
// program's information texts.
class DocumentFiles
{
public:
    explicit DocumentFiles(MainWindow &window) : m_window(window) {}

    void registerProcedures(QHash<QString, std::function<void()>> &procedures);

    void newDocument();
    void openDocument();
    // Saves through the save dialog; true only when the page was written.
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

    MainWindow &m_window;
};

} // namespace lumipage
