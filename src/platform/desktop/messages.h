#pragma once

#include <QMessageBox>

namespace lumipage::messages
{

// The application's title on validation and information messages.
QString applicationTitle();

// Asks a question; returns the button pressed (Cancel/No/Escape when closed).
QMessageBox::StandardButton ask(QWidget *parent, const QString &title, const QString &text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::Icon icon = QMessageBox::NoIcon);
// Asks with standard buttons that read as `captions` names them (上書き for Save): they
// keep their roles, so Escape still answers Cancel.
QMessageBox::StandardButton
askWith(QWidget *parent, const QString &title, const QString &text,
        const QList<QPair<QMessageBox::StandardButton, QString>> &captions,
        QMessageBox::Icon icon = QMessageBox::Question);
// A message with only an OK button, no icon and the application's title.
void inform(QWidget *parent, const QString &text);
// A failure the user must know about (a page that cannot be read or written).
void warn(QWidget *parent, const QString &text);

} // namespace lumipage::messages
