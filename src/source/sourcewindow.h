#pragma once

#include "source/replacedialog.h"

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;

namespace lumipage
{

class CommonDialog;
class EditingComponent;

// The source window `Form3`: the page's HTML as text, written back to the page on
// closing when it was changed and the user agrees.
class SourceWindow : public QDialog
{
    Q_OBJECT
public:
    // `reference` is the main window's Text2: the text the change test compares with.
    SourceWindow(EditingComponent &editor, CommonDialog &commonDialog, const QString &reference,
                 QWidget *parent);

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void openReplace();
    void chooseFont();

    EditingComponent &m_editor;
    ReplaceTexts m_replaceTexts;
    CommonDialog &m_commonDialog;
    QString m_reference;
    QString m_brTag;
    QPlainTextEdit *m_text;
    QCheckBox *m_check;
    bool m_closing = false;
};

} // namespace lumipage
