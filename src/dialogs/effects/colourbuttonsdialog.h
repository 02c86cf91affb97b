#pragma once

#include "dialogs/effects/colourbuttonsmarkup.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace lumipage
{

class CommonDialog;

// The mouse-over colour dialog `Form17`: link buttons added one at a time (at most
// ten) with a shared first and mouse-over colour. On OK it keeps the request and closes.
class ColourButtonsDialog : public QDialog
{
    Q_OBJECT
public:
    // `commonDialog` serves the browse button of a jump target; `programFolder` holds
    // the palette page; targets inside `pageFolder` are written relative to it.
    ColourButtonsDialog(CommonDialog &commonDialog, const QString &programFolder,
                        const QString &pageFolder, QWidget *parent);

    // What OK built; empty until then.
    EffectRequest request() const { return m_request; }

private:
    void addButton();
    void removeButtons();
    void chooseKind(const QString &kind);

    EffectRequest m_request;
    ColourButtonList m_buttons;
    QString m_pageFolder;
    QLineEdit *m_firstColour;
    QLineEdit *m_overColour;
    QLineEdit *m_label;
    QComboBox *m_typeface;
    QComboBox *m_size;
    QComboBox *m_kind;
    QLineEdit *m_target;
    QPushButton *m_browse;
    QPushButton *m_add;
    QListWidget *m_list;
    QLabel *m_count;
    QPushButton *m_removeAll;
    QPushButton *m_ok;
};

} // namespace lumipage
