#pragma once

#include "dialogs/webimage/webimagechoice.h"
#include "pictures/pictureinfo.h"
#include "pictures/websuggestion.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace lumipage
{

// The web-copy dialog: the picture's size and weight, then the copy's width, format,
// quality, 「位置情報などを削除」 and 「高解像度の画面用」. OK makes the copy (exec()
// answers Accepted), 「そのまま挿入」 puts the picture in as it is (InsertAsIs), Escape
// inserts nothing (Rejected).
class WebImageDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int InsertAsIs = 2;

    WebImageDialog(const pictures::PictureInfo &info, const pictures::WebCopySuggestion &suggestion,
                   QWidget *parent = nullptr);

    WebImageChoice choice() const;

private:
    void formatChosen();

    QSpinBox *m_width;
    QComboBox *m_format;
    QSpinBox *m_quality;
    QCheckBox *m_strip;
    QCheckBox *m_highDensity;
};

} // namespace lumipage
