#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumipage
{

class MainWindow;

// The IFRAME fragment: border "0" for "なし", "1" for anything else; the file quoted.
QString floatingFrameMarkup(const QString &file, const QString &borderText);

// The floating-frame dialog `Form5`.
class FloatingFrameDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FloatingFrameDialog(MainWindow &window);

private:
    MainWindow &m_window;
    QLineEdit *m_file;
    QComboBox *m_border;
};

} // namespace lumipage
