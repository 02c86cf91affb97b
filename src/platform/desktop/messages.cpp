#include "platform/desktop/messages.h"

#include <QPushButton>

namespace lumipage::messages
{

QString applicationTitle()
{
    return QStringLiteral("Lumipage");
}

namespace
{
QMessageBox::StandardButton exec(QMessageBox &box)
{
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
} // namespace

QMessageBox::StandardButton ask(QWidget *parent, const QString &title, const QString &text,
                                QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, buttons, parent);
    return exec(box);
}

QMessageBox::StandardButton
askWith(QWidget *parent, const QString &title, const QString &text,
        const QList<QPair<QMessageBox::StandardButton, QString>> &captions, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
    for (const auto &[button, caption] : captions)
        box.addButton(button)->setText(caption);
    return exec(box);
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
