#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace lumipage
{

class EditingComponent;
class FileDrops;

// A paste on the page (貼り付け, its button, Ctrl+V) of a picture: copied picture files go
// in as dropped ones do; image data alone is written beside the page as paste-N.png and
// goes in the same way, so the page names a file instead of carrying the data. Anything
// else is left to the engine.
class PicturePaste : public QObject
{
    Q_OBJECT
public:
    // `save` runs 保存 (a page never saved is saved first, as the picture goes beside it).
    PicturePaste(QWidget &window, EditingComponent &editor, FileDrops &drops,
                 std::function<void()> save);

    // Pastes the clipboard's picture; false when the clipboard holds none (or the page is
    // browsed), and the engine's own paste is to run.
    bool paste();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pasteImage();

    QWidget &m_window;
    EditingComponent &m_editor;
    FileDrops &m_drops;
    std::function<void()> m_save;
};

} // namespace lumipage
