#include "styles/valueeditors.h"

#include "platform/markup/cssvalueforms.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace lumipage
{

namespace
{
// The colour `value` writes, or an invalid one.
QColor colourIn(const QString &value)
{
    const auto colour = css::colourOf(value);
    if (!colour)
        return {};
    const auto channel = [](double c) { return std::clamp(c, 0.0, 1.0); };
    return QColor::fromRgbF(channel(colour->red), channel(colour->green), channel(colour->blue),
                            channel(colour->alpha));
}

QPixmap swatch(const QColor &colour)
{
    QPixmap pixmap(12, 12);
    pixmap.fill(colour.isValid() ? colour : QColor(Qt::transparent));
    return pixmap;
}
} // namespace

ValueEditors::ValueEditors(QLineEdit &line, QWidget *parent) : QWidget(parent), m_line(line)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_colour = new QToolButton(this);
    m_colour->setObjectName(u"styleColour"_s);
    m_colour->setText(u"色…"_s);
    m_colour->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_colour->setToolTip(u"色を選んで値の欄に入れます（Enter で反映）"_s);
    m_length = new QDoubleSpinBox(this);
    m_length->setObjectName(u"styleLength"_s);
    m_length->setRange(-9999, 9999);
    m_length->setDecimals(2);
    m_length->setToolTip(u"数値を値の欄に入れます（Enter で反映）"_s);
    m_unit = new QComboBox(this);
    m_unit->setObjectName(u"styleLengthUnit"_s);
    m_unit->addItems(css::lengthUnits());
    m_font = new QComboBox(this);
    m_font->setObjectName(u"styleFont"_s);
    m_font->setToolTip(u"フォントを値の欄の先頭に入れます（Enter で反映）"_s);
    m_font->addItems(css::genericFamilies());
    m_font->insertSeparator(m_font->count());
    m_font->addItems(QFontDatabase::families());
    m_font->setMaximumWidth(180);
    // The box diagram: each side's field where that side is, the property's name inside.
    m_box = new QFrame(this);
    m_box->setObjectName(u"styleBox"_s);
    m_box->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(m_box);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setSpacing(2);
    m_boxName = new QLabel(m_box);
    m_boxName->setAlignment(Qt::AlignCenter);
    grid->addWidget(m_boxName, 1, 1);
    const struct {
        const char16_t *name, *tip;
        int row, column;
    } sides[] = {{u"styleBoxTop", u"上", 0, 1},
                 {u"styleBoxRight", u"右", 1, 2},
                 {u"styleBoxBottom", u"下", 2, 1},
                 {u"styleBoxLeft", u"左", 1, 0}};
    for (const auto &side : sides) {
        auto *field = new QLineEdit(m_box);
        field->setObjectName(QString::fromUtf16(side.name));
        field->setToolTip(u"%1の値（Enter で反映）"_s.arg(QString::fromUtf16(side.tip)));
        field->setMaximumWidth(70);
        grid->addWidget(field, side.row, side.column);
        connect(field, &QLineEdit::textEdited, this, &ValueEditors::sideEdited);
        connect(field, &QLineEdit::returnPressed, this, &ValueEditors::applyRequested);
        m_sides.append(field);
    }
    for (QWidget *editor : {static_cast<QWidget *>(m_colour), static_cast<QWidget *>(m_length),
                            static_cast<QWidget *>(m_unit), static_cast<QWidget *>(m_font),
                            static_cast<QWidget *>(m_box)}) {
        layout->addWidget(editor);
        editor->hide();
    }

    connect(m_colour, &QToolButton::clicked, this, &ValueEditors::chooseColour);
    connect(m_length, &QDoubleSpinBox::valueChanged, this, &ValueEditors::lengthChanged);
    connect(m_unit, &QComboBox::currentIndexChanged, this, &ValueEditors::lengthChanged);
    connect(m_font, &QComboBox::textActivated, this,
            [this](const QString &family) { put(css::fontFamilyText(family, m_line.text())); });
}

void ValueEditors::showFor(const QString &property, bool editable, bool attribute)
{
    const QString value = m_line.text();
    const css::EditorKind kind =
        editable ? css::editorKind(property, value, attribute) : css::EditorKind::Text;
    m_colour->setVisible(kind == css::EditorKind::Colour);
    m_length->setVisible(kind == css::EditorKind::Length);
    m_unit->setVisible(kind == css::EditorKind::Length);
    m_font->setVisible(kind == css::EditorKind::FontFamily);
    m_box->setVisible(kind == css::EditorKind::Box);
    if (kind == css::EditorKind::Colour) {
        m_colour->setIcon(swatch(colourIn(value))); // the value's colour, when it writes one
    } else if (kind == css::EditorKind::Length) {
        // The row's own length without writing it back into the line.
        const QSignalBlocker numberBlocked(m_length), unitBlocked(m_unit);
        const auto length = css::lengthOf(value);
        m_length->setValue(length ? length->number : 0);
        m_unit->setCurrentText(length ? length->unit : u"px"_s);
    } else if (kind == css::EditorKind::FontFamily) {
        m_font->setCurrentIndex(m_font->findText(css::firstFamily(value)));
    } else if (kind == css::EditorKind::Box) {
        m_boxName->setText(property);
        const css::BoxSides sides = *css::boxSides(value);
        for (int i = 0; i < 4; ++i)
            m_sides[i]->setText(sides[i]);
    }
}

void ValueEditors::chooseColour()
{
    if (const auto chosen = m_dialog.showColor(this, colourIn(m_line.text()))) {
        put(css::colourText(chosen->red(), chosen->green(), chosen->blue(), chosen->alpha(),
                            m_line.text()));
        m_colour->setIcon(swatch(*chosen));
    }
}

void ValueEditors::lengthChanged()
{
    put(css::lengthText(m_length->value(), m_unit->currentText()));
}

void ValueEditors::sideEdited()
{
    // The line follows the sides in the shortest form; the typing stays in the side's field.
    css::BoxSides sides;
    for (int i = 0; i < 4; ++i)
        sides[i] = m_sides[i]->text();
    if (const QString text = css::boxText(sides); !text.isEmpty())
        m_line.setText(text);
}

void ValueEditors::put(const QString &value)
{
    m_line.setText(value);
    m_line.setFocus();
}

} // namespace lumipage
