#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumipage
{

class CommonDialog;
class EditingComponent;

// The background-image dialog `Form19`: rewrites the page's BODY start tag with the
// chosen picture and whether it scrolls. On OK it sets the page and closes; the opener
// keeps what it hands back.
class BackgroundImageDialog : public QDialog
{
    Q_OBJECT
public:
    BackgroundImageDialog(EditingComponent &editor, CommonDialog &commonDialog, QWidget *parent);

    // What OK did: the text that replaced "<BODY" and "bgProperties=…", and the page
    // text it set (empty when the page had no BODY tag to rewrite).
    struct Outcome {
        QString backgroundAttr;
        QString properties;
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
