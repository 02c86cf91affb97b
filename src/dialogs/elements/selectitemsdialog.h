#pragma once

#include "fragments/dialogresult.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace lumipage
{

// One option line of the source box: "<OPTION>name</OPTION>" and CR LF.
QString optionLine(const QString &item);
// The SELECT fragment around the source box's text.
BuildResult selectMarkup(const QString &source);

// The selection-box items dialog `Form12`; on OK it keeps the fragment and closes.
class SelectItemsDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SelectItemsDialog(QWidget *parent);

    // What OK built; nothing until then.
    BuildResult built() const { return m_built; }

private:
    void addItem();
    void removeChosenItem();
    void removeAll();

    BuildResult m_built;
    QLineEdit *m_name;
    QPushButton *m_add, *m_ok;
    QListWidget *m_list;
    QPlainTextEdit *m_source;
    qint16 m_itemCount = 0;
};

} // namespace lumipage
