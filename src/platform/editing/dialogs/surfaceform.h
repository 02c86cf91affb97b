#pragma once

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace lumipage::surfaceform
{

// The rows of the surface's own small dialogs (find, font, image): a label, a field and
// an optional hint on a grid. The program's dialogs use widgets/DialogForm; the surface
// sits on the floor below it and keeps this much of its own.

inline QLineEdit *lineEdit(QDialog *dialog, const QString &name, const QString &text)
{
    auto *edit = new QLineEdit(text, dialog);
    edit->setObjectName(name);
    return edit;
}

inline QComboBox *comboBox(QDialog *dialog, const QString &name, const QStringList &items,
                           const QString &text)
{
    auto *box = new QComboBox(dialog);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setEditText(text);
    return box;
}

// Puts `label`, `field` and `hint` on row `row` of the dialog's grid and returns the next row.
inline int addRow(QGridLayout *grid, int row, const QString &label, QWidget *field,
                  const QString &hint = {})
{
    QWidget *owner = grid->parentWidget();
    grid->addWidget(new QLabel(label, owner), row, 0);
    grid->addWidget(field, row, 1);
    if (!hint.isEmpty())
        grid->addWidget(new QLabel(hint, owner), row, 2);
    return row + 1;
}

inline QPushButton *button(QGridLayout *grid, const QString &name, const QString &caption, int row,
                           int column)
{
    auto *push = new QPushButton(caption, grid->parentWidget());
    push->setObjectName(name);
    grid->addWidget(push, row, column);
    return push;
}

// OK and キャンセル on the right of row `row`.
inline std::pair<QPushButton *, QPushButton *>
okCancel(QGridLayout *grid, int row, const QString &okName, const QString &cancelName)
{
    QWidget *owner = grid->parentWidget();
    auto *line = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("OK"), owner);
    ok->setObjectName(okName);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("キャンセル"), owner);
    cancel->setObjectName(cancelName);
    line->addStretch();
    line->addWidget(ok);
    line->addWidget(cancel);
    grid->addLayout(line, row, 0, 1, 3);
    return {ok, cancel};
}

} // namespace lumipage::surfaceform
