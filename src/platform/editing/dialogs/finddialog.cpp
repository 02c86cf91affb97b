#include "platform/editing/dialogs/finddialog.h"

#include "platform/desktop/dialogform.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace lumipage
{

FindDialog::FindDialog(const QString &text, QWidget *parent) : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("FindDialog"), QStringLiteral("検索"));
    m_text = form.row(QStringLiteral("検索する文字列:"),
                      form.lineEdit(QStringLiteral("findText"), text));
    m_next = form.button(QStringLiteral("findNext"), QStringLiteral("次を検索"), 0, 2);
    QGridLayout *grid = form.grid();
    const int row = form.nextRow();
    m_matchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する"), this);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_wholeWord = new QCheckBox(QStringLiteral("単語単位で探す"), this);
    m_wholeWord->setObjectName(QStringLiteral("wholeWord"));
    m_up = new QRadioButton(QStringLiteral("上へ"), this);
    m_up->setObjectName(QStringLiteral("directionUp"));
    auto *down = new QRadioButton(QStringLiteral("下へ"), this);
    down->setObjectName(QStringLiteral("directionDown"));
    down->setChecked(true);
    auto *close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("closeButton"));

    grid->addWidget(m_matchCase, row, 0, 1, 2);
    grid->addWidget(close, row, 2);
    grid->addWidget(m_wholeWord, row + 1, 0, 1, 2);
    auto *direction = new QHBoxLayout;
    direction->addWidget(m_up);
    direction->addWidget(down);
    direction->addStretch();
    grid->addLayout(direction, row + 2, 0, 1, 2);

    m_next->setDefault(true);
    m_next->setEnabled(!text.isEmpty());
    connect(m_text, &QLineEdit::textChanged, this,
            [this](const QString &now) { m_next->setEnabled(!now.isEmpty()); });
    connect(m_next, &QPushButton::clicked, this, [this] {
        emit findNext(m_text->text(), m_matchCase->isChecked(), m_wholeWord->isChecked(),
                      m_up->isChecked());
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::text() const
{
    return m_text->text();
}

} // namespace lumipage
