#pragma once

#include "platform/editing/dialogs/fontrequest.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace lumipage
{

class CommonDialog;

// The editing surface's font dialog: typeface, size 1–7, colour, bold, italic,
// underline, shown with the selection's current font. OK accepts only fields that
// make a valid request (request() then says what to apply).
class FontDialog : public QDialog
{
    Q_OBJECT
public:
    FontDialog(const FontFields &current, CommonDialog &commonDialog, QWidget *parent = nullptr);

    FontFields fields() const;
    QJsonObject request() const { return m_request; }

private:
    FontFields m_current;
    QJsonObject m_request;
    QComboBox *m_face;
    QComboBox *m_size;
    QLineEdit *m_color;
    QCheckBox *m_bold;
    QCheckBox *m_italic;
    QCheckBox *m_underline;
};

} // namespace lumipage
