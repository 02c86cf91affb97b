#pragma once

#include "fragments/dialogresult.h"
#include "widgets/randomidfield.h"

#include <QDialog>

class QLineEdit;

namespace lumipage
{

class CommonDialog;

// The image-blend dialog `Form21`: the image shown first, the image blended in next,
// and the image id drawn at opening. On OK it keeps the request and closes.
class BlendImageDialog : public QDialog
{
    Q_OBJECT
public:
    // `commonDialog` serves both browse buttons; files inside `pageFolder` (the open
    // page's folder, empty for a new page) are written relative to it; `draw` draws
    // the id (empty: the clock's).
    BlendImageDialog(CommonDialog &commonDialog, const QString &pageFolder, const IdDraw &draw,
                     QWidget *parent);

    // What OK built; empty until then.
    EffectRequest request() const { return m_request; }

private:
    EffectRequest m_request;
    QString m_pageFolder;
    QLineEdit *m_first;
    QLineEdit *m_next;
    int m_idNumber;
};

} // namespace lumipage
