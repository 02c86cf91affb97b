#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumipage
{

class CommonDialog;

// The background-image dialog `Form19`: asks for the picture and whether it scrolls; the
// opener sets them on the page's BODY.
class BackgroundImageDialog : public QDialog
{
    Q_OBJECT
public:
    BackgroundImageDialog(CommonDialog &commonDialog, QWidget *parent);

    // What OK chose: the picture's name as typed or browsed, and the scrolling as an
    // attribute ("bgProperties=fixed" or the like).
    struct Choice {
        QString picture;
        QString properties;
    };
    Choice choice() const { return m_choice; }

private:
    void apply();

    Choice m_choice;
    QLineEdit *m_path;
    QComboBox *m_pattern;
    QPushButton *m_ok;
};

} // namespace lumipage
