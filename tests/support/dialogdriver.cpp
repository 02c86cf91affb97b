#include "support/dialogdriver.h"

#include "support/testsupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace lumipage::test
{

namespace
{
QWidget *control(QDialog *dialog, const QString &name)
{
    QWidget *widget = dialog ? dialog->findChild<QWidget *>(name) : nullptr;
    if (!widget)
        QTest::qFail(qPrintable(QStringLiteral("no control %1").arg(name)), __FILE__, __LINE__);
    return widget;
}
} // namespace

DialogDriver::DialogDriver(QDialog &dialog) : m_dialog(&dialog)
{
    dialog.show();
}

DialogDriver::~DialogDriver()
{
    if (m_dialog && m_dialog->isVisible())
        m_dialog->reject();
}

bool DialogDriver::fill(const QString &name, const QString &text)
{
    QWidget *widget = control(m_dialog, name);
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        line->setText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setEditText(text);
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        plain->setPlainText(text);
    else
        return false;
    return true;
}

bool DialogDriver::choose(const QString &name, const QString &item)
{
    auto *combo = qobject_cast<QComboBox *>(control(m_dialog, name));
    return combo && test::choose(*combo, item);
}

bool DialogDriver::press(const QString &name)
{
    auto *button = qobject_cast<QAbstractButton *>(control(m_dialog, name));
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

bool DialogDriver::accept(const QString &okName)
{
    return press(okName) && m_dialog && !m_dialog->isVisible() &&
           m_dialog->result() == QDialog::Accepted;
}

QString DialogDriver::text(const QString &name) const
{
    QWidget *widget = control(m_dialog, name);
    if (auto *line = qobject_cast<QLineEdit *>(widget))
        return line->text();
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        return plain->toPlainText();
    return {};
}

bool DialogDriver::enabled(const QString &name) const
{
    QWidget *widget = control(m_dialog, name);
    return widget && widget->isEnabled();
}

} // namespace lumipage::test
