#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumipage
{

class CommonDialog;
class EditingComponent;

// The background-image dialog `Form19`: sets the chosen picture and whether it scrolls
// on the page's BODY, as one undo step. On OK it changes the page and closes; the
// opener keeps what it hands back.
class BackgroundImageDialog : public QDialog
{
    Q_OBJECT
public:
    BackgroundImageDialog(EditingComponent &editor, CommonDialog &commonDialog, QWidget *parent);

    // What OK did: the tag text standing for the background ("<BODY background=…
    // bgProperties=…"), and the page text after the change (empty when the page had no
    // BODY tag to change).
    struct Outcome {
        QString backgroundAttr;
        QString page;
        bool rewritten() const { return !page.isEmpty(); }
    };
    Outcome outcome() const { return m_outcome; }

private:
    void apply();

    EditingComponent &m_editor;
    Outcome m_outcome;
    QLineEdit *m_path;
    QComboBox *m_pattern;
    QPushButton *m_ok;
};

} // namespace lumipage
