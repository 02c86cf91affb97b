#include "app/palettewindow.h"

#include "platform/editing/editingcomponent.h"
#include "platform/desktop/paletteview.h"
#include "widgets/colourfield.h"
#include "widgets/icons.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumipage
{

PaletteWindow::PaletteWindow(EditingComponent &editor, const QString &programFolder,
                             QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_editor(editor)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("背景色設定"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *frame = new QGroupBox(QStringLiteral("カラーパレット"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    frameLayout->addWidget(new PaletteView(programFolder, frame));
    layout->addWidget(frame, 1);
    auto *hint = new QLabel(
        QStringLiteral("希望の色ﾃｷｽﾄを選択し、下のﾃｷｽﾄﾎﾞｯｸｽへ、ﾏｳｽでDragDropして下さい。"), this);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    auto *row = new QHBoxLayout;
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(Icons::glyph(QStringLiteral("彩"), 2).pixmap(20, 20));
    m_colour = new ColourField(QStringLiteral("Text1"), QStringLiteral("Command1"),
                               QStringLiteral("Command2"), this);
    row->addWidget(image);
    row->addWidget(m_colour, 1);
    layout->addLayout(row);

    // Every change, typed character by character or dropped, goes to the page at once.
    connect(m_colour, &ColourField::textChanged, this,
            [this](const QString &text) { m_editor.setBgColor(text); });
}

void PaletteWindow::showAtCorner()
{
    setGeometry(0, 0, 160, 305);
    show();
    raise();
}

} // namespace lumipage
