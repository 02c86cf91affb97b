#include "platform/messages.h"

namespace lumipage::messages
{

QString applicationTitle()
{
    return QStringLiteral("Lumipage");
}

QMessageBox::StandardButton ask(QWidget *parent, const QString &title, const QString &text,
                                QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void inform(QWidget *parent, const QString &text)
{
    ask(parent, applicationTitle(), text, QMessageBox::Ok);
}

void warn(QWidget *parent, const QString &text)
{
    ask(parent, applicationTitle(), text, QMessageBox::Ok, QMessageBox::Warning);
}

} // namespace lumipage::messages
