#include "dialogs/elements/marqueedialog.h"

#include "app/mainwindow.h"
#include "dialogs/elements/dialogform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

QString marqueeMarkup(const MarqueeFields &f)
{
    return QStringLiteral("<MARQUEE BEHAVIOR=") + f.behavior + QStringLiteral(" DIRECTION=") +
           f.direction + QStringLiteral(" SCROLLDELAY=") + f.scrollDelay +
           QStringLiteral(" SCROLLAMOUNT=") + f.scrollAmount + QStringLiteral(" LOOP=") + f.loop +
           QStringLiteral(">文字を入力してください。</MARQUEE>");
}

MarqueeDialog::MarqueeDialog(MainWindow &window) : QDialog(&window), m_window(window)
{
    DialogForm form(this, QStringLiteral("Form9"), QStringLiteral("マーキー設定画面"));
    m_behavior =
        form.combo(QStringLiteral("Combo1"), QStringLiteral("動き方"),
                   {QStringLiteral("Scroll"), QStringLiteral("Slide"), QStringLiteral("Alternate")},
                   QString(), QStringLiteral("Behavior"));
    m_direction = form.combo(QStringLiteral("Combo2"), QStringLiteral("方向"),
                             {QStringLiteral("Left"), QStringLiteral("Right")}, QString(),
                             QStringLiteral("Direction"));
    m_loop = form.line(QStringLiteral("Text1"), QStringLiteral("回数"), QStringLiteral("Infinite"),
                       QStringLiteral("Loop"));
    m_delay = form.line(QStringLiteral("Text2"), QStringLiteral("秒数"), QString(),
                        QStringLiteral("Scrolldelay"));
    m_amount = form.line(QStringLiteral("Text3"), QStringLiteral("ﾋﾟｸｾﾙ数"), QString(),
                         QStringLiteral("Scrollamount"));
    auto [ok, cancel] = form.okCancel(QStringLiteral("Command1"), QStringLiteral("Command2"));
    resize(312, 145);
    connect(ok, &QPushButton::clicked, this, [this] {
        m_window.shared().insert_html =
            marqueeMarkup({m_behavior->currentText(), m_direction->currentText(), m_loop->text(),
                           m_delay->text(), m_amount->text()});
        m_window.veld_go();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace lumipage
