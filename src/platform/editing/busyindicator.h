#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

class QProgressBar;
class QWidget;

namespace lumipage
{

// Shows that the editing surface is working: once some work has taken half a second,
// a progress bar across the top of the surface and a busy cursor, until it ends. The
// bar is a child of the surface; the surface's owner owns this.
class BusyIndicator : public QObject
{
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget *surface);

    // Work called `what` begins (nested work keeps the outer caption).
    void begin(const QString &what);
    // How far the work is, in percent; below 0 when unknown.
    void setProgress(int percent);
    // The work begun last ends.
    void end();
    // Whether the bar is on screen.
    bool shown() const;

private:
    void show();

    QWidget *m_surface;
    QProgressBar *m_bar;
    QTimer m_delay;
    int m_depth = 0;
    bool m_cursorSet = false;
};

// Begins work on an indicator for the lifetime of the scope.
class BusyScope
{
public:
    BusyScope(BusyIndicator &indicator, const QString &what) : m_indicator(indicator)
    {
        m_indicator.begin(what);
    }
    ~BusyScope() { m_indicator.end(); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    BusyIndicator &m_indicator;
};

} // namespace lumipage
