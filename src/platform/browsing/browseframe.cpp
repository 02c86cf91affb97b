#include "platform/browsing/browseframe.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSettings>
#include <QWebEngineView>

#include <cmath>

namespace lumipage
{

namespace
{
const QString kWidthKey = QStringLiteral("browse/previewWidth");

// The choices in the order the list shows them, with the names they are remembered by.
struct WidthChoice {
    PreviewWidth width;
    const char *caption;
    const char *key;
    const char *toolTip;
};
constexpr WidthChoice kChoices[] = {
    {PreviewWidth::Window, "パソコン", "window", "ウィンドウの幅で表示します"},
    {PreviewWidth::Tablet, "タブレット", "tablet", "幅 768 px で表示します"},
    {PreviewWidth::Phone, "スマートフォン", "phone", "幅 375 px で表示します"},
};
} // namespace

int cssWidth(PreviewWidth width)
{
    switch (width) {
    case PreviewWidth::Tablet:
        return 768;
    case PreviewWidth::Phone:
        return 375;
    case PreviewWidth::Window:
        break;
    }
    return 0;
}

PreviewGeometry previewGeometry(int css, const QSize &stage)
{
    if (css <= 0 || stage.width() <= 0)
        return {QRect(QPoint(0, 0), stage), 1.0};
    if (stage.width() >= css)
        return {QRect((stage.width() - css) / 2, 0, css, stage.height()), 1.0};
    // The engine lays the page out at the view's width divided by the zoom, rounded
    // down: a zoom a hair below the exact ratio keeps that at `css`, never one short.
    const qreal zoom = qreal(stage.width()) / (css + 0.25);
    return {QRect(QPoint(0, 0), stage), zoom};
}

BrowseFrame::BrowseFrame(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("browseFrame"));
    m_bar = new QWidget(this);
    auto *row = new QHBoxLayout(m_bar);
    row->setContentsMargins(6, 3, 6, 3);
    auto *label = new QLabel(tr("表示幅"), m_bar);
    m_widths = new QComboBox(m_bar);
    m_widths->setObjectName(QStringLiteral("previewWidth"));
    label->setBuddy(m_widths);
    const QString remembered = QSettings().value(kWidthKey).toString();
    for (const WidthChoice &choice : kChoices) {
        m_widths->addItem(QString::fromUtf8(choice.caption), int(choice.width));
        m_widths->setItemData(m_widths->count() - 1, QString::fromUtf8(choice.toolTip),
                              Qt::ToolTipRole);
        if (remembered == QLatin1String(choice.key))
            m_widths->setCurrentIndex(m_widths->count() - 1);
    }
    row->addWidget(label);
    row->addWidget(m_widths);
    row->addStretch();

    // The grey around a page narrower than the window, as a device's edge.
    m_stage = new QWidget(this);
    m_stage->setObjectName(QStringLiteral("browseStage"));
    QPalette grey = m_stage->palette();
    grey.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    m_stage->setPalette(grey);
    m_stage->setAutoFillBackground(true);

    connect(m_widths, &QComboBox::activated, this, [this] {
        const PreviewWidth chosen = chosenWidth();
        for (const WidthChoice &choice : kChoices)
            if (choice.width == chosen)
                QSettings().setValue(kWidthKey, QString::fromLatin1(choice.key));
        place();
        emit widthChosen(chosen);
    });
}

PreviewWidth BrowseFrame::chosenWidth() const
{
    return PreviewWidth(m_widths->currentData().toInt());
}

void BrowseFrame::setView(QWebEngineView *view)
{
    m_view = view;
    place();
}

void BrowseFrame::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    place();
}

void BrowseFrame::place()
{
    // Placed by hand rather than by a layout, so that the view has its size at once,
    // before the page loads, also while the frame is still hidden.
    const int barHeight = m_bar->sizeHint().height();
    m_bar->setGeometry(0, 0, width(), barHeight);
    m_stage->setGeometry(0, barHeight, width(), std::max(0, height() - barHeight));
    if (!m_view)
        return;
    const PreviewGeometry geometry = previewGeometry(cssWidth(chosenWidth()), m_stage->size());
    m_view->setGeometry(geometry.view);
    if (!qFuzzyCompare(m_view->zoomFactor(), geometry.zoom))
        m_view->setZoomFactor(geometry.zoom);
}

} // namespace lumipage
