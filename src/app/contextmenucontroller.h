#pragma once

namespace lumipage
{

class MainWindow;

// The surface's right-click menu: built from the context-menu table on every click,
// greyed by the statuses and the mode, and carried out by position.
class ContextMenuController
{
public:
    explicit ContextMenuController(MainWindow &window);

    void buildMenu();
    void runEntry(int position);

private:
    MainWindow &m_window;
};

} // namespace lumipage
