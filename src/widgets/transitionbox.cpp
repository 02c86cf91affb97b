#include "widgets/transitionbox.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>

namespace lumipage
{

const std::array<const char *, 24> kTransitionNames = {
    "Box in",
    "Box out",
    "Circle in",
    "Circle out",
    "Wipe up",
    "Wipe down",
    "Wipe right",
    "Wipe left",
    "Vertical blinds",
    "Horizontal blinds",
    "Checker board across",
    "Checker board down",
    "Random dissolve",
    "Split vertical in",
    "Split vertical out",
    "Split horizontal in",
    "Split horizontal out",
    "Strips left down",
    "Strips left up",
    "Strips rigt down",
    "Strips rigt up",
    "Random bars horizontal",
    "Random bars vertical",
    "Random",
};

QString transitionName(const QString &numberText)
{
    for (int i = 0; i < int(kTransitionNames.size()); ++i)
        if (numberText == QString::number(i))
            return QString::fromLatin1(kTransitionNames[i]);
    return {};
}

TransitionBox::TransitionBox(const QString &numberName, const QString &nameName, QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_number = new QComboBox(this);
    m_number->setObjectName(numberName);
    m_number->setEditable(true);
    m_number->setInsertPolicy(QComboBox::NoInsert);
    for (int i = 0; i < int(kTransitionNames.size()); ++i)
        m_number->addItem(QString::number(i));
    m_number->setEditText(QStringLiteral("0"));
    m_name = new QLineEdit(transitionName(QStringLiteral("0")), this);
    m_name->setObjectName(nameName);
    m_name->setEnabled(false);
    row->addWidget(m_number);
    row->addWidget(m_name, 1);

    connect(m_number, &QComboBox::activated, this,
            [this](int index) { m_name->setText(transitionName(m_number->itemText(index))); });
    connect(m_number, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (text.isEmpty()) {
            m_number->setEditText(QStringLiteral("0")); // comes back here with "0"
            return;
        }
        emit textChanged(text);
    });
}

QString TransitionBox::text() const
{
    return m_number->currentText();
}

std::optional<qint16> TransitionBox::number() const
{
    bool ok = false;
    const short value = text().trimmed().toShort(&ok);
    return ok ? std::optional<qint16>(value) : std::nullopt;
}

} // namespace lumipage
