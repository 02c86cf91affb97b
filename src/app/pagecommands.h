#pragma once

#include <QHash>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

namespace lumipage
{

class MainWindow;
class PaletteWindow;

// The main window's commands on the page: the one-call commands of the command table
// (colours through the common dialog) and the link, background and source dialogs. Owns the
// background-colour palette window while it is open.
class PageCommands
{
public:
    explicit PageCommands(MainWindow &window);
    ~PageCommands();

    void registerProcedures(QHash<QString, std::function<void()>> &procedures);
    PaletteWindow *palette() const { return m_palette; }

private:
    void execCommand(int command, int option, const QVariant &value = {});
    void commandProcedure(int command, int option, int valueKind);
    void showPalette();
    void setLink();
    void setBackgroundImage();
    void removeBackgroundImage();
    void showSource();

    MainWindow &m_window;
    QPointer<PaletteWindow> m_palette;
};

} // namespace lumipage
