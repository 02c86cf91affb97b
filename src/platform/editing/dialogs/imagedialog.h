#pragma once

#include "fragments/imagemarkup.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lumipage
{

class CommonDialog;

// The editing surface's image dialog: the picture (typed URL or a file chosen with
// "参照"), alternative text, alignment, border and spacing. OK accepts only fields
// that make an image. A local picture's size, weight and shown size are told under its
// name; 「Web用に最適化…」 closes the dialog answering OptimizeForWeb.
class ImageDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int OptimizeForWeb = 2;

    ImageDialog(const ImageFields &initial, CommonDialog &commonDialog, QWidget *parent = nullptr);

    ImageFields fields() const;
    // The folder relative names resolve in (the page's), the size the page shows the
    // picture at (0 × 0: not shown yet), and whether a web copy may replace its element
    // (not when it carries what the dialog does not show: an id, a style, …).
    void setPage(const QString &pageFolder, int shownWidth, int shownHeight, bool replaceable);

private:
    void closeWith(int result);
    void showFileFacts();

    QString m_pageFolder;
    int m_shownWidth = 0, m_shownHeight = 0;
    bool m_replaceable = true;
    QLabel *m_facts;
    QPushButton *m_optimize;
    QLineEdit *m_source;
    QLineEdit *m_alt;
    QComboBox *m_align;
    QLineEdit *m_border;
    QLineEdit *m_hspace;
    QLineEdit *m_vspace;
};

} // namespace lumipage
