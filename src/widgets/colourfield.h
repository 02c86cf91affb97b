#pragma once

#include <QColor>
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumipage
{

class PaletteView;

// A colour box that accepts colour names dropped from the palette page, with the small
// swatch beside it: the indicator colour while a colour is entered, the dialog's colour
// when the box is empty; clicking the swatch empties the box.
class ColourField : public QWidget
{
    Q_OBJECT
public:
    // The indicator colour of every swatch: pure red, "a colour is set".
    static inline const QColor kIndicator = QColor(255, 0, 0);

    // `boxName` and `swatchName` are the controls' objectNames; `markerName`, when given,
    // names the hidden button that the design keeps beside the swatch (it has no action).
    ColourField(const QString &boxName, const QString &swatchName, const QString &markerName,
                QWidget *parent);

    // The palette page beside a colour field: a read-only view of "color.htm" in the
    // program's folder to drag colour names from, at least `minimum` pixels square.
    static PaletteView *paletteView(const QString &programFolder, QWidget *parent,
                                    int minimum = 120);

    QLineEdit *box() const { return m_box; }
    QPushButton *swatch() const { return m_swatch; }
    QString text() const;
    void setText(const QString &text);

signals:
    void textChanged(const QString &text);

private:
    void updateSwatch(const QString &text);

    QLineEdit *m_box;
    QPushButton *m_swatch;
};

} // namespace lumipage
