#pragma once

#include <QComboBox>

namespace lumipage
{

// The action list of the filter-text dialogs: "なし" (the element only) or "あり" (the
// element and its script); shows "なし" at load.
class ActionCombo : public QComboBox
{
    Q_OBJECT
public:
    // `name` is the list's objectName.
    ActionCombo(const QString &name, QWidget *parent);

    // Whether the text reads exactly "あり": the script goes with the element.
    bool withScript() const;
};

} // namespace lumipage
