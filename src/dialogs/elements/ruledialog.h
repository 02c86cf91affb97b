#pragma once

#include "fragments/dialogresult.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumipage
{

class ColourField;

// The rule dialog's fields, as typed.
struct RuleFields {
    QString width = QStringLiteral("100"), size = QStringLiteral("2"),
            shading = QStringLiteral("あり"), colour = QStringLiteral("silver"),
            align = QStringLiteral("center");
};
// The HR fragment; nothing for a shading text other than "あり" or "なし".
BuildResult ruleMarkup(const RuleFields &fields);

// The horizontal-rule dialog `Form11`, with the palette page to drag colours from. On OK
// with a fragment it keeps it and closes; an unknown shading text leaves it open.
class RuleDialog : public QDialog
{
    Q_OBJECT
public:
    // `programFolder` holds the palette page "color.htm".
    RuleDialog(const QString &programFolder, QWidget *parent);

    // What OK built; nothing until then.
    BuildResult built() const { return m_built; }

private:
    BuildResult m_built;
    QLineEdit *m_width, *m_size;
    QComboBox *m_shading, *m_align;
    ColourField *m_colour;
};

} // namespace lumipage
