#include "widgets/icons.h"

#include <QPainter>
#include <QPixmap>

namespace lumipage::Icons
{

QIcon glyph(const QString &text, int group)
{
    static const QColor tiles[] = {QColor(0x3d, 0x6e, 0xb4), QColor(0x2e, 0x8b, 0x57),
                                   QColor(0x8e, 0x44, 0xad), QColor(0xc0, 0x6c, 0x1a),
                                   QColor(0x6b, 0x6b, 0x6b)};
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tiles[std::abs(group) % 5]);
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(text.size() > 2 ? 11 : text.size() == 2 ? 14 : 20);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

QIcon application()
{
    return glyph(QStringLiteral("L"), 0);
}

} // namespace lumipage::Icons
