#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace lumipage
{

// A colour box that accepts colour names dropped from the palette page, with the
// small swatch beside it: red while a colour is entered, the dialog's colour when the
// box is empty; clicking the swatch empties the box.
class ColourField : public QWidget
{
    Q_OBJECT
public:
    // `boxName`, `swatchName` and `markerName` are the controls' objectNames.
    ColourField(const QString &boxName, const QString &swatchName, const QString &markerName,
                QWidget *parent);

    QLineEdit *box() const { return m_box; }
    QString text() const;
    void setText(const QString &text);

signals:
    void textChanged(const QString &text);

private:
    void updateSwatch(const QString &text);

    QLineEdit *m_box;
    QPushButton *m_swatch;
    QPushButton *m_marker;
};

} // namespace lumipage
