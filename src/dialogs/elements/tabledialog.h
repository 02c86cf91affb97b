#pragma once

#include <QDialog>

class QLineEdit;

namespace lumipage
{

class EditingComponent;
struct InsertTableParam;

// Inserts a table at the caret: an empty count inserts nothing (true); other counts are
// checked by the component, which says why it refuses (false with `reason`).
bool insertTable(EditingComponent &editor, const InsertTableParam &param, QString *reason);

// The table dialog `Form2`: rows, columns, table and cell attributes, caption. OK inserts
// the table; a refused count is shown and the dialog stays open with the fields as typed.
class TableDialog : public QDialog
{
    Q_OBJECT
public:
    TableDialog(EditingComponent &editor, QWidget *parent);

    // The two attribute boxes as the opener fills them.
    void prefill(const QString &tableAttrs, const QString &cellAttrs);

private:
    void insert();
    bool eventFilter(QObject *watched, QEvent *event) override;

    EditingComponent &m_editor;
    QLineEdit *m_rows, *m_cols, *m_tableAttrs, *m_cellAttrs, *m_caption;
};

} // namespace lumipage
