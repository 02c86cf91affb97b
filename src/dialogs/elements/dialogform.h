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

namespace lumipage
{

class CommonDialog;

// Lays out a small form dialog: a label on the left of each field, an optional hint on
// its right, and OK / Cancel at the bottom. Only builds widgets; the dialog wires them.
class DialogForm
{
public:
    DialogForm(QDialog *dialog, const QString &objectName, const QString &caption);

    QLineEdit *line(const QString &name, const QString &label, const QString &text,
                    const QString &hint = {});
    QComboBox *combo(const QString &name, const QString &label, const QStringList &items,
                     const QString &text, const QString &hint = {});
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
    QDialog *m_dialog;
    QGridLayout *m_grid;
    int m_row = 0;
};

} // namespace lumipage
