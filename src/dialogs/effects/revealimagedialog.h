#pragma once

#include "fragments/dialogresult.h"

#include <QDialog>

class QLineEdit;

namespace lumipage
{

class CommonDialog;
class TransitionBox;

// The image-reveal dialog `Form7`: image file, alternative text and transition of the
// image veldimage. On OK it keeps the request and closes.
class RevealImageDialog : public QDialog
{
    Q_OBJECT
public:
    // `commonDialog` serves the browse button; files inside `pageFolder` (the open
    // page's folder, empty for a new page) are written relative to it.
    RevealImageDialog(CommonDialog &commonDialog, const QString &pageFolder, QWidget *parent);

    // What OK built; empty until then.
    EffectRequest request() const { return m_request; }

private:
    EffectRequest m_request;
    QString m_pageFolder;
    QLineEdit *m_image;
    QLineEdit *m_alt;
    TransitionBox *m_transition;
};

} // namespace lumipage
