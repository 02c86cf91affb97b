#pragma once

#include <QDialog>

#include <optional>

class QComboBox;
class QLineEdit;

namespace lumipage
{

class ColourField;
class MainWindow;

// The rule dialog's fields, as typed.
struct RuleFields {
    QString width = QStringLiteral("100"), size = QStringLiteral("2"),
            shading = QStringLiteral("あり"), colour = QStringLiteral("silver"),
            align = QStringLiteral("center");
};
// The HR fragment; nothing for a shading text other than "あり" or "なし".
std::optional<QString> ruleMarkup(const RuleFields &fields);

// The horizontal-rule dialog `Form11`, with the palette page to drag colours from.
class RuleDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RuleDialog(MainWindow &window);

private:
    MainWindow &m_window;
    QLineEdit *m_width, *m_size;
    QComboBox *m_shading, *m_align;
    ColourField *m_colour;
};

} // namespace lumipage
