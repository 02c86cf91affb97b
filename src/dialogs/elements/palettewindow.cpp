#include "dialogs/elements/palettewindow.h"

#include "app/icons.h"
#include "platform/editing/editingcomponent.h"
#include "platform/paletteview.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lumipage {

PaletteWindow::PaletteWindow(EditingComponent &editor, QWidget *parent)
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
    frameLayout->addWidget(new PaletteView(frame));
    layout->addWidget(frame, 1);
    auto *hint = new QLabel(QStringLiteral("希望の色ﾃｷｽﾄを選択し、下のﾃｷｽﾄﾎﾞｯｸｽへ、ﾏｳｽでDragDropして下さい。"), this);
    hint->setObjectName(QStringLiteral("Label1"));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    auto *row = new QHBoxLayout;
    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(Icons::glyph(QStringLiteral("彩"), 2).pixmap(20, 20));
    m_colour = new QLineEdit(this);
    m_colour->setObjectName(QStringLiteral("Text1"));
    m_colour->setDragEnabled(true);
    m_swatch = new QPushButton(this);
    m_swatch->setObjectName(QStringLiteral("Command1"));
    m_swatch->setFixedSize(20, 20);
    m_marker = new QPushButton(QStringLiteral("Command2"), this);
    m_marker->setObjectName(QStringLiteral("Command2"));
    m_marker->setVisible(false);
    row->addWidget(image);
    row->addWidget(m_colour, 1);
    row->addWidget(m_swatch);
    layout->addLayout(row);

    connect(m_colour, &QLineEdit::textChanged, this, &PaletteWindow::Text1_Change);
    connect(m_swatch, &QPushButton::clicked, m_colour, &QLineEdit::clear);
}

void PaletteWindow::showAtCorner()
{
    setGeometry(0, 0, 160, 305);
    show();
    raise();
}

void PaletteWindow::Text1_Change(const QString &text)
{
    m_editor.setBgColor(text);
    // The swatch says whether a colour is entered (red), not which one.
    m_swatch->setStyleSheet(text.isEmpty() ? QString()
                                           : QStringLiteral("background-color: rgb(255, 0, 0);"));
}

} // namespace lumipage
