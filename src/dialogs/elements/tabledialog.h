#pragma once

#include "platform/editing/editingcommands.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLineEdit;

namespace lumipage
{

// The table dialog `Form2`: rows, columns, table and cell attributes, caption. OK hands
// the fields to `insert`, the opener's: a refusal (its reason) is shown and the dialog
// stays open with the fields as typed.
class TableDialog : public QDialog
{
    Q_OBJECT
public:
    // Inserts a table as the fields ask; the reason when it is refused, else nullopt.
    using Insert = std::function<std::optional<QString>(const InsertTableParam &)>;
    TableDialog(Insert insert, QWidget *parent);

    // The two attribute boxes as the opener fills them.
    void prefill(const QString &tableAttrs, const QString &cellAttrs);

private:
    void insert();
    bool eventFilter(QObject *watched, QEvent *event) override;

    Insert m_insert;
    QLineEdit *m_rows, *m_cols, *m_tableAttrs, *m_cellAttrs, *m_caption;
};

} // namespace lumipage
