#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

class QComboBox;
class QWebEngineView;

namespace lumipage
{

// The widths browse mode lays a page out at, as a visitor's screen would: the window's
// own width, a tablet's (768 CSS px) or a phone's (375 CSS px).
enum class PreviewWidth { Window, Tablet, Phone };

// The CSS width `width` lays the page out at; 0 for the window's width.
int cssWidth(PreviewWidth width);

// Where the browse view stands in a stage of `stage` pixels and the zoom it is shown
// at, so that the page is laid out `css` CSS pixels wide (0: as wide as the stage).
// A stage wide enough shows the page at its size, centred; a narrower one shows it
// whole, shrunk to the stage's width.
struct PreviewGeometry {
    QRect view;
    qreal zoom = 1.0;
};
PreviewGeometry previewGeometry(int css, const QSize &stage);

// Browse mode's place on the surface: a bar with the width choice 「表示幅」
// (`previewWidth`, remembered) over a grey stage on which the browse view stands at
// the chosen width. The view belongs to the browse session; the frame only places it.
class BrowseFrame : public QWidget
{
    Q_OBJECT
public:
    explicit BrowseFrame(QWidget *parent = nullptr);

    // The widget the browse view is to be a child of.
    QWidget *stage() const { return m_stage; }
    // Places `view` (a child of stage()) at the chosen width; null when browsing ends.
    void setView(QWebEngineView *view);
    PreviewWidth chosenWidth() const;

signals:
    // The user chose another width (the view is already placed for it).
    void widthChosen(PreviewWidth width);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void place();

    QWidget *m_bar;
    QComboBox *m_widths;
    QWidget *m_stage;
    QPointer<QWebEngineView> m_view;
};

} // namespace lumipage
