#pragma once

#include <QDialog>

class QLineEdit;

namespace lumipage
{

class MainWindow;

// The table dialog `Form2`: rows, columns, table and cell attributes, caption. OK hands
// the values to the main window's creat_hyou; a refused count is shown and the dialog
// stays open with the fields as typed.
class TableDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TableDialog(MainWindow &window);

    // The two attribute boxes as the opener fills them.
    void prefill(const QString &tableAttrs, const QString &cellAttrs);

private:
    void Command1_Click();
    bool eventFilter(QObject *watched, QEvent *event) override;

    MainWindow &m_window;
    QLineEdit *m_rows, *m_cols, *m_tableAttrs, *m_cellAttrs, *m_caption;
};

} // namespace lumipage
