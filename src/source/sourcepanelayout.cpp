#include "source/sourcepanelayout.h"

#include "source/sourcepane.h"
#include "source/sourcepanecontroller.h"

#include <QAction>
#include <QSettings>
#include <QSplitter>
#include <QTimer>

namespace lumipage
{

namespace
{
const QString kShownKey = QStringLiteral("sourcePane/shown");
const QString kSplitterKey = QStringLiteral("sourcePane/splitter");
} // namespace

SourcePaneLayout::SourcePaneLayout(QSplitter &splitter, SourcePane &pane,
                                   SourcePaneController &controller, QAction &toggle,
                                   QObject *parent)
    : QObject(parent), m_splitter(splitter), m_pane(pane), m_controller(controller),
      m_toggle(toggle)
{
    m_toggle.setCheckable(true);
    m_toggle.setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H));
    connect(&m_splitter, &QSplitter::splitterMoved, this,
            [this] { QSettings().setValue(kSplitterKey, m_splitter.saveState()); });
}

void SourcePaneLayout::restore()
{
    m_splitter.restoreState(QSettings().value(kSplitterKey).toByteArray());
    m_pane.hide();
    if (QSettings().value(kShownKey, false).toBool())
        QTimer::singleShot(0, this, [this] { setShown(true); });
}

void SourcePaneLayout::setShown(bool shown)
{
    m_controller.setShown(shown);
    m_pane.setVisible(shown);
    // The first time, the page and its source share the place equally.
    if (shown && !QSettings().contains(kSplitterKey)) {
        const int width = m_splitter.width();
        m_splitter.setSizes({width / 2, width - width / 2});
    }
    m_toggle.setChecked(shown);
    QSettings().setValue(kShownKey, shown);
}

} // namespace lumipage
