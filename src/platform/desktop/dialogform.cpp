#include "platform/desktop/dialogform.h"

#include "platform/desktop/commondialog.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

DialogForm::DialogForm(QDialog *dialog, const QString &objectName, const QString &caption)
    : m_dialog(dialog), m_grid(new QGridLayout(dialog))
{
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(caption);
}

void DialogForm::addRow(const QString &label, QWidget *field, const QString &hint, int span)
{
    if (!label.isEmpty())
        m_grid->addWidget(new QLabel(label, m_dialog), m_row, 0);
    m_grid->addWidget(field, m_row, 1, 1, span);
    if (!hint.isEmpty())
        m_grid->addWidget(new QLabel(hint, m_dialog), m_row, 2);
    ++m_row;
}

QLineEdit *DialogForm::lineEdit(const QString &name, const QString &text)
{
    auto *edit = new QLineEdit(text, m_dialog);
    edit->setObjectName(name);
    return edit;
}

QComboBox *DialogForm::comboBox(const QString &name, const QStringList &items, const QString &text)
{
    auto *box = new QComboBox(m_dialog);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    box->setEditText(text);
    return box;
}

QPushButton *DialogForm::button(const QString &name, const QString &caption, int row, int column)
{
    auto *push = new QPushButton(caption, m_dialog);
    push->setObjectName(name);
    m_grid->addWidget(push, row, column);
    return push;
}

QPushButton *DialogForm::browseButton(const QString &name, QLineEdit *target, CommonDialog &dialog,
                                      const QString &filter, int flags)
{
    QPushButton *browse = button(name, QStringLiteral("参照"), m_row - 1, 2);
    // The form is gone once the dialog is built: the handler keeps only the widgets.
    QDialog *owner = m_dialog;
    QObject::connect(browse, &QPushButton::clicked, owner, [owner, target, &dialog, filter, flags] {
        dialog.filter = filter;
        if (flags)
            dialog.flags = flags;
        if (const auto file = dialog.showOpen(owner))
            target->setText(*file);
    });
    return browse;
}

QLabel *DialogForm::label(const QString &name, const QString &text)
{
    auto *label = new QLabel(text, m_dialog);
    label->setObjectName(name);
    m_grid->addWidget(label, m_row++, 0, 1, 3);
    return label;
}

std::pair<QPushButton *, QPushButton *> DialogForm::okCancel(const QString &okName,
                                                             const QString &cancelName,
                                                             const QString &okCaption,
                                                             const QString &cancelCaption)
{
    auto *row = new QHBoxLayout;
    auto *ok = new QPushButton(okCaption, m_dialog);
    ok->setObjectName(okName);
    ok->setDefault(true);
    auto *cancel = new QPushButton(cancelCaption, m_dialog);
    cancel->setObjectName(cancelName);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    m_grid->addLayout(row, m_row++, 0, 1, 3);
    return {ok, cancel};
}

} // namespace lumipage
