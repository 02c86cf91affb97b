#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace lumipage
{

class MainWindow;

// The background-image dialog `Form19`: rewrites the page's BODY start tag with the
// chosen picture and whether it scrolls.
class BackgroundImageDialog : public QDialog
{
    Q_OBJECT
public:
    explicit BackgroundImageDialog(MainWindow &window);

private:
    void Command2_Click();

    MainWindow &m_window;
    QLineEdit *m_path;
    QComboBox *m_pattern;
    QPushButton *m_ok;
};

} // namespace lumipage
