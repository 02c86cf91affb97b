#include "widgets/colourfield.h"

#include "platform/desktop/paletteview.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

namespace
{
QString indicatorStyle()
{
    return QStringLiteral("background-color: rgb(%1, %2, %3);")
        .arg(ColourField::kIndicator.red())
        .arg(ColourField::kIndicator.green())
        .arg(ColourField::kIndicator.blue());
}
} // namespace

ColourField::ColourField(const QString &boxName, const QString &swatchName,
                         const QString &markerName, QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_box = new QLineEdit(this);
    m_box->setObjectName(boxName);
    m_swatch = new QPushButton(this);
    m_swatch->setObjectName(swatchName);
    m_swatch->setFixedSize(20, 20);
    if (!markerName.isEmpty()) {
        auto *marker = new QPushButton(markerName, this);
        marker->setObjectName(markerName);
        marker->setStyleSheet(indicatorStyle());
        marker->setVisible(false);
    }
    row->addWidget(m_box, 1);
    row->addWidget(m_swatch);
    connect(m_box, &QLineEdit::textChanged, this, [this](const QString &text) {
        updateSwatch(text);
        emit textChanged(text);
    });
    connect(m_swatch, &QPushButton::clicked, m_box, &QLineEdit::clear);
}

PaletteView *ColourField::paletteView(const QString &programFolder, QWidget *parent, int minimum)
{
    auto *view = new PaletteView(programFolder, parent);
    view->setMinimumSize(minimum, minimum);
    return view;
}

QString ColourField::text() const
{
    return m_box->text();
}

void ColourField::setText(const QString &text)
{
    m_box->setText(text);
    updateSwatch(text);
}

void ColourField::updateSwatch(const QString &text)
{
    m_swatch->setStyleSheet(text.isEmpty() ? QString() : indicatorStyle());
}

} // namespace lumipage
