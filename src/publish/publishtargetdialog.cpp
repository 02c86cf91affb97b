#include "publish/publishtargetdialog.h"

#include "platform/desktop/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace lumipage
{

namespace
{

QLineEdit *field(const char *name, const QString &text, QWidget *parent)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

} // namespace

PublishTargetDialog::PublishTargetDialog(const publishtargetfields::Fields &fields,
                                         const QString &root, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("publishTargetDialog"));
    setWindowTitle(QStringLiteral("公開先の設定"));
    m_protocol = new QComboBox(this);
    m_protocol->setObjectName(QStringLiteral("publishProtocol"));
    m_protocol->addItems(publishtargetfields::protocolNames());
    m_protocol->setCurrentText(fields.protocol);
    m_host = field("publishHost", fields.host, this);
    m_port = field("publishPort", fields.port, this);
    m_user = field("publishUser", fields.user, this);
    m_password = field("publishPassword", fields.password, this);
    m_password->setEchoMode(QLineEdit::Password);
    m_keyFile = field("publishKeyFile", fields.keyFile, this);
    m_remoteFolder = field("publishRemoteFolder", fields.remoteFolder, this);
    m_root = field("publishSiteFolder", root, this);
    m_passive = new QCheckBox(QStringLiteral("パッシブモード"), this);
    m_passive->setObjectName(QStringLiteral("publishPassive"));
    m_passive->setChecked(fields.passive);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("サイトのフォルダ:"), m_root);
    form->addRow(QStringLiteral("プロトコル:"), m_protocol);
    form->addRow(QStringLiteral("ホスト:"), m_host);
    form->addRow(QStringLiteral("ポート:"), m_port);
    form->addRow(QStringLiteral("ユーザー名:"), m_user);
    form->addRow(QStringLiteral("パスワード:"), m_password);
    form->addRow(QStringLiteral("鍵ファイル（SFTP）:"), m_keyFile);
    form->addRow(QStringLiteral("公開先のフォルダ:"), m_remoteFolder);
    form->addRow(QString(), m_passive);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("publishOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &PublishTargetDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PublishTargetDialog::reject);
    connect(m_protocol, &QComboBox::currentIndexChanged, this,
            &PublishTargetDialog::protocolChanged);
    protocolChanged();
}

QString PublishTargetDialog::root() const
{
    return QDir::cleanPath(m_root->text().trimmed());
}

void PublishTargetDialog::protocolChanged()
{
    // A local folder needs no server; only SFTP takes a key, only FTP a passive mode.
    const int protocol = m_protocol->currentIndex();
    const bool server = protocol != int(PublishTarget::Protocol::Folder);
    for (QWidget *w : {static_cast<QWidget *>(m_host), static_cast<QWidget *>(m_port),
                       static_cast<QWidget *>(m_user), static_cast<QWidget *>(m_password)})
        w->setEnabled(server);
    m_keyFile->setEnabled(protocol == int(PublishTarget::Protocol::Sftp));
    m_passive->setEnabled(protocol <= int(PublishTarget::Protocol::Ftps));
}

void PublishTargetDialog::accept()
{
    if (!QDir(root()).exists() || root().isEmpty()) {
        messages::warn(this, QStringLiteral("サイトのフォルダがありません: %1").arg(root()));
        return;
    }
    const auto built = publishtargetfields::target(
        {m_protocol->currentText(), m_host->text(), m_port->text(), m_user->text(),
         m_password->text(), m_keyFile->text(), m_remoteFolder->text(), m_passive->isChecked()});
    if (const QString *problem = std::get_if<QString>(&built)) {
        messages::warn(this, *problem);
        return;
    }
    m_target = std::get<PublishTarget>(built);
    QDialog::accept();
}

} // namespace lumipage
