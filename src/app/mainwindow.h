#pragma once

#include <QMainWindow>

namespace lumipage {

class EditingComponent;

// The main window `Form1`: owns the editing surface `DHTMLEdit1` for the whole run.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    // The editing surface.
    EditingComponent *editor() const { return m_editor; }
    // Opens a page named on the command line; a page that cannot be read is reported.
    void openFile(const QString &path);

private:
    EditingComponent *m_editor = nullptr;
};

} // namespace lumipage
