#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QUrl>

class QWidget;

namespace lumipage
{

// Takes drops that carry local files off a widget and its children (such as the
// engine's own surface inside a view) before they see them, and hands them on; drops
// of text or markup stay with the widget. Owned by the widget.
class FileDropFilter : public QObject
{
    Q_OBJECT
public:
    explicit FileDropFilter(QWidget *widget);

signals:
    // Files were dropped at `pos` (in the widget's coordinates).
    void filesDropped(const QList<QUrl> &urls, const QPoint &pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_widget;
};

} // namespace lumipage
