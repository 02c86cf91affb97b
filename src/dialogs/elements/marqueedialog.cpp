#include "dialogs/elements/marqueedialog.h"

#include "platform/desktop/dialogform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

BuildResult marqueeMarkup(const MarqueeFields &f)
{
    return BuildResult::fragment(
        QStringLiteral("<MARQUEE BEHAVIOR=") + f.behavior + QStringLiteral(" DIRECTION=") +
        f.direction + QStringLiteral(" SCROLLDELAY=") + f.scrollDelay +
        QStringLiteral(" SCROLLAMOUNT=") + f.scrollAmount + QStringLiteral(" LOOP=") + f.loop +
        QStringLiteral(">文字を入力してください。</MARQUEE>"));
}

MarqueeDialog::MarqueeDialog(QWidget *parent) : QDialog(parent)
{
    DialogForm form(this, QStringLiteral("Form9"), QStringLiteral("マーキー設定画面"));
    m_behavior = form.row(QStringLiteral("動き方"),
                          form.comboBox(QStringLiteral("Combo1"),
                                        {QStringLiteral("Scroll"), QStringLiteral("Slide"),
                                         QStringLiteral("Alternate")},
                                        QString()),
                          QStringLiteral("Behavior"));
    m_direction =
        form.row(QStringLiteral("方向"),
                 form.comboBox(QStringLiteral("Combo2"),
                               {QStringLiteral("Left"), QStringLiteral("Right")}, QString()),
                 QStringLiteral("Direction"));
    m_loop = form.row(QStringLiteral("回数"),
                      form.lineEdit(QStringLiteral("Text1"), QStringLiteral("Infinite")),
                      QStringLiteral("Loop"));
    m_delay = form.row(QStringLiteral("秒数"), form.lineEdit(QStringLiteral("Text2")),
                       QStringLiteral("Scrolldelay"));
    m_amount = form.row(QStringLiteral("ﾋﾟｸｾﾙ数"), form.lineEdit(QStringLiteral("Text3")),
                        QStringLiteral("Scrollamount"));
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"));
    resize(312, 145);
    connect(ok, &QPushButton::clicked, this, [this] {
        m_built = marqueeMarkup({m_behavior->currentText(), m_direction->currentText(),
                                 m_loop->text(), m_delay->text(), m_amount->text()});
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
