#include "widgets/actioncombo.h"

namespace lumipage
{

ActionCombo::ActionCombo(const QString &name, QWidget *parent) : QComboBox(parent)
{
    setObjectName(name);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    addItems({QStringLiteral("なし"), QStringLiteral("あり")});
    setEditText(QStringLiteral("なし"));
}

bool ActionCombo::withScript() const
{
    return currentText() == QStringLiteral("あり");
}

} // namespace lumipage
