#pragma once

#include <QString>
#include <QStringList>

#include <utility>

class QComboBox;
class QDialog;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace lumipage
{

class CommonDialog;

// Lays out a small form dialog: rows of a label on the left, a field, an optional hint on
// its right, and OK / Cancel at the bottom. Only builds widgets; the dialog wires them.
class DialogForm
{
public:
    DialogForm(QDialog *dialog, const QString &objectName, const QString &caption);

    // One row: `label` (none when empty), `field`, and `hint` on its right; returns `field`.
    template <typename Field>
    Field *row(const QString &label, Field *field, const QString &hint = {})
    {
        addRow(label, field, hint, 1);
        return field;
    }
    // One row whose field spans the field and hint columns.
    template <typename Field> Field *wideRow(const QString &label, Field *field)
    {
        addRow(label, field, {}, 2);
        return field;
    }

    // Fields owned by the dialog, for row(): a text box, and an editable combo box that
    // offers `items` and shows `text`.
    QLineEdit *lineEdit(const QString &name, const QString &text = {});
    QComboBox *comboBox(const QString &name, const QStringList &items, const QString &text);

    // A text across the whole row.
    QLabel *label(const QString &name, const QString &text);
    QPushButton *button(const QString &name, const QString &caption, int row, int column);
    // A "参照" button right of `target` (on the row before nextRow()) that fills it with
    // a file chosen in the common dialog under `filter`; a cancel keeps the text.
    QPushButton *browseButton(const QString &name, QLineEdit *target, CommonDialog &dialog,
                              const QString &filter, int flags = 0);
    std::pair<QPushButton *, QPushButton *>
    okCancel(const QString &okName, const QString &cancelName,
             const QString &okCaption = QStringLiteral("OK"),
             const QString &cancelCaption = QStringLiteral("Cancel"));
    QGridLayout *grid() const { return m_grid; }
    int nextRow() const { return m_row; }
    void skipRow() { ++m_row; }

private:
    void addRow(const QString &label, QWidget *field, const QString &hint, int span);

    QDialog *m_dialog;
    QGridLayout *m_grid;
    int m_row = 0;
};

} // namespace lumipage
