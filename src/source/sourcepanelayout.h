#pragma once

#include <QObject>

class QAction;
class QSplitter;

namespace lumipage
{

class SourcePane;
class SourcePaneController;

// Where the source pane stands: beside the page in the window's splitter, shown and
// hidden by a checkable command, with whether it was shown and the splitter's place
// remembered for the next start.
class SourcePaneLayout : public QObject
{
    Q_OBJECT
public:
    SourcePaneLayout(QSplitter &splitter, SourcePane &pane, SourcePaneController &controller,
                     QAction &toggle, QObject *parent = nullptr);

    // Puts the splitter where it was left and shows the pane, once the window has
    // started, if it was shown when the program last ended.
    void restore();
    // Shows or hides the pane, remembered for the next start.
    void setShown(bool shown);

private:
    QSplitter &m_splitter;
    SourcePane &m_pane;
    SourcePaneController &m_controller;
    QAction &m_toggle;
};

} // namespace lumipage
