#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace lumipage
{

class MainWindow;

// One option line of the source box: "<OPTION>name</OPTION>" and CR LF.
QString optionLine(const QString &item);
// The SELECT fragment around the source box's text.
QString selectMarkup(const QString &source);

// The selection-box items dialog `Form12`.
class SelectItemsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SelectItemsDialog(MainWindow &window);

private:
    void Command1_Click();
    void List1_Click();
    void Command4_Click();

    MainWindow &m_window;
    QLineEdit *m_name;
    QPushButton *m_add, *m_ok;
    QListWidget *m_list;
    QPlainTextEdit *m_source;
    qint16 m_itemCount = 0;
};

} // namespace lumipage
