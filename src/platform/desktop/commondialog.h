#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QWidget;

namespace lumipage
{

// The one file / colour / font dialog of the program. Each user sets its filter
// ("text|pattern|text|pattern…") and flags before showing it; the last file name,
// filter and flags stay for the next user. A cancel returns no value.
class CommonDialog
{
public:
    virtual ~CommonDialog() = default;

    QString filter;   // "HTMファイル(*.htm)|*.htm|…"
    int flags = 0;    // font dialog flags (257: screen fonts with effects)
    QString fileName; // the last name chosen, pre-filling the next dialog

    struct FontChoice {
        QFont font;
        QColor color;
    };

    // Open dialog: the chosen file and its folder must exist.
    virtual std::optional<QString> showOpen(QWidget *parent);
    // Save dialog: existing and new names accepted, no overwrite question of its own.
    virtual std::optional<QString> showSave(QWidget *parent);
    // The colour dialog, starting from `initial` when it is valid.
    virtual std::optional<QColor> showColor(QWidget *parent, const QColor &initial = {});
    virtual std::optional<FontChoice> showFont(QWidget *parent, const FontChoice &initial);

    // "a(*.x)|*.x|b|*.y" in Qt's "a(*.x);;b (*.y)" form.
    static QString qtFilter(const QString &filter);
};

// A colour as the 32-bit value of the platform: red in the lowest byte, then green, blue.
inline quint32 colorValue(const QColor &color)
{
    return quint32(color.red()) | quint32(color.green()) << 8 | quint32(color.blue()) << 16;
}

} // namespace lumipage
