#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

namespace lumipage::test
{

// Drives one dialog without a main window: shows it (not modally, so nothing waits in
// exec()), fills its fields and presses its buttons by objectName, and tells whether OK
// closed it accepted; the caller then reads the value the dialog hands back. Each step
// fails the running test when the named control is missing. Closes the dialog at the end.
class DialogDriver
{
public:
    explicit DialogDriver(QDialog &dialog);
    ~DialogDriver();
    DialogDriver(const DialogDriver &) = delete;
    DialogDriver &operator=(const DialogDriver &) = delete;

    // Sets the text of a text box, an editable combo box or a plain-text box.
    bool fill(const QString &name, const QString &text);
    // Chooses `item` in a combo box as a user does (current item, then `activated`).
    bool choose(const QString &name, const QString &item);
    // Clicks a button.
    bool press(const QString &name);
    // Clicks OK (`okName`); true when the dialog then closed accepted.
    bool accept(const QString &okName);
    // The text a text box, combo box or plain-text box shows.
    QString text(const QString &name) const;
    // Whether the named control is enabled.
    bool enabled(const QString &name) const;

private:
    QPointer<QDialog> m_dialog;
};

} // namespace lumipage::test
