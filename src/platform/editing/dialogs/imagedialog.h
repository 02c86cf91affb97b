#pragma once

#include "platform/editing/dialogs/imagemarkup.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumipage
{

class CommonDialog;

// The editing surface's image dialog: the picture (typed URL or a file chosen with
// "参照"), alternative text, alignment, border and spacing. OK accepts only fields
// that make an image.
class ImageDialog : public QDialog
{
    Q_OBJECT
public:
    ImageDialog(const ImageFields &initial, CommonDialog &commonDialog, QWidget *parent = nullptr);

    ImageFields fields() const;

private:
    QLineEdit *m_source;
    QLineEdit *m_alt;
    QComboBox *m_align;
    QLineEdit *m_border;
    QLineEdit *m_hspace;
    QLineEdit *m_vspace;
};

} // namespace lumipage
