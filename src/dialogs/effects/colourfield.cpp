#include "dialogs/effects/colourfield.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

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
    // The hidden marker holds the "entered" colour: pure red.
    m_marker = new QPushButton(markerName, this);
    m_marker->setObjectName(markerName);
    m_marker->setStyleSheet(QStringLiteral("background-color: rgb(255, 0, 0);"));
    m_marker->setVisible(false);
    row->addWidget(m_box, 1);
    row->addWidget(m_swatch);
    connect(m_box, &QLineEdit::textChanged, this, [this](const QString &text) {
        updateSwatch(text);
        emit textChanged(text);
    });
    connect(m_swatch, &QPushButton::clicked, m_box, &QLineEdit::clear);
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
    m_swatch->setStyleSheet(text.isEmpty() ? QString() : m_marker->styleSheet());
}

} // namespace lumipage
