#pragma once

#include <QHash>
#include <QString>

#include <functional>

namespace lumipage
{

class MainWindow;

// Edit and browse modes, and the refresh that enables the main window's commands
// from the surface's statuses after every display change.
class StateRefresh
{
public:
    explicit StateRefresh(MainWindow &window);

    void registerProcedures(QHash<QString, std::function<void()>> &procedures);

    // Switch to browse mode / edit mode (the design's hidden buttons Command3 and Command4).
    void enterBrowseMode();
    void enterEditMode();
    // The state refresh run on every display change.
    void refresh();
    // Whether the page has the background image (the background test's result >= 2).
    qsizetype backgroundPosition() const { return m_backgroundPosition; }
    void resetBackgroundPosition() { m_backgroundPosition = 0; }

private:
    MainWindow &m_window;
    qsizetype m_backgroundPosition = 0;
};

} // namespace lumipage
