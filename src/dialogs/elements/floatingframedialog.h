#pragma once

#include "fragments/dialogresult.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace lumipage
{

class CommonDialog;

// The IFRAME fragment: border "0" for "なし", "1" for anything else; the file quoted.
BuildResult floatingFrameMarkup(const QString &file, const QString &borderText);

// The floating-frame dialog `Form5`; on OK it keeps the fragment and closes.
class FloatingFrameDialog : public QDialog
{
    Q_OBJECT
public:
    // `commonDialog` serves the browse button of the frame's file.
    FloatingFrameDialog(CommonDialog &commonDialog, QWidget *parent);

    // What OK built; nothing until then.
    BuildResult built() const { return m_built; }

private:
    BuildResult m_built;
    QLineEdit *m_file;
    QComboBox *m_border;
};

} // namespace lumipage
