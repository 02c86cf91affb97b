#include "platform/editing/busyindicator.h"

#include <QApplication>
#include <QProgressBar>
#include <QWidget>

namespace lumipage
{

namespace
{
constexpr int kDelayMs = 500;
constexpr int kBarHeight = 20;
} // namespace

BusyIndicator::BusyIndicator(QWidget *surface) : QObject(surface), m_surface(surface)
{
    m_bar = new QProgressBar(surface);
    m_bar->setObjectName(QStringLiteral("busyProgress"));
    m_bar->setTextVisible(true);
    m_bar->hide();
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMs);
    connect(&m_delay, &QTimer::timeout, this, &BusyIndicator::show);
}

void BusyIndicator::begin(const QString &what)
{
    if (m_depth++ > 0)
        return;
    m_bar->setFormat(what + QStringLiteral(" %p%"));
    m_bar->setRange(0, 0); // unknown until told
    m_delay.start();
}

void BusyIndicator::setProgress(int percent)
{
    if (percent < 0) {
        m_bar->setRange(0, 0);
        return;
    }
    m_bar->setRange(0, 100);
    m_bar->setValue(std::min(percent, 100));
}

void BusyIndicator::end()
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    m_delay.stop();
    m_bar->hide();
    if (std::exchange(m_cursorSet, false))
        QApplication::restoreOverrideCursor();
}

bool BusyIndicator::shown() const
{
    return m_bar->isVisible();
}

void BusyIndicator::show()
{
    if (m_depth == 0)
        return;
    m_bar->setGeometry(0, 0, m_surface->width(), kBarHeight);
    m_bar->raise();
    m_bar->show();
    if (!m_cursorSet) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        m_cursorSet = true;
    }
}

} // namespace lumipage
