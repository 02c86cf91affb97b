#include "widgets/randomidfield.h"

#include <QDateTime>
#include <QRandomGenerator>

namespace lumipage
{

IdDraw clockSeededDraw()
{
    return [] {
        QRandomGenerator generator(quint32(QDateTime::currentMSecsSinceEpoch()));
        return int(generator.generateDouble() * 100);
    };
}

RandomIdField::RandomIdField(const QString &name, const IdDraw &draw, QWidget *parent)
    : QLineEdit(parent)
{
    setObjectName(name);
    setEnabled(false);
    setText(QString::number(draw ? draw() : clockSeededDraw()()));
}

int RandomIdField::number() const
{
    return text().toInt();
}

QString RandomIdField::effectId() const
{
    return QStringLiteral("VELD") + text();
}

} // namespace lumipage
