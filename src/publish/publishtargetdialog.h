#pragma once

#include "publish/publishtargetfields.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace lumipage
{

// 公開先の設定: where a site is published (publishTargetDialog). It only wires the
// fields; publishtargetfields reads them, and a problem keeps the dialog open.
class PublishTargetDialog : public QDialog
{
    Q_OBJECT
public:
    // `root` is the site's local folder, shown and changeable (the page's folder or one
    // above it).
    PublishTargetDialog(const publishtargetfields::Fields &fields, const QString &root,
                        QWidget *parent);
    // The target accepted with OK, and the site's root folder.
    PublishTarget target() const { return m_target; }
    QString root() const;

    void accept() override;

private:
    void protocolChanged();

    QComboBox *m_protocol;
    QLineEdit *m_host, *m_port, *m_user, *m_password, *m_keyFile, *m_remoteFolder, *m_root;
    QCheckBox *m_passive;
    PublishTarget m_target;
};

} // namespace lumipage
