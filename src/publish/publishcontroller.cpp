#include "publish/publishcontroller.h"

#include "platform/desktop/messages.h"
#include "publish/publishlistdialog.h"
#include "publish/publishlisttext.h"
#include "publish/publishtargetdialog.h"

#include <QFileInfo>
#include <QInputDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

namespace lumipage
{

namespace
{

// Host keys are remembered per host and port: libcurl writes a trusted key under the host
// name alone, so two SSH servers on one host would otherwise take each other's keys for
// a changed one.
QString knownHostsFile(const PublishTarget &target)
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/known_hosts/%1_%2")
               .arg(QString::fromLatin1(QUrl::toPercentEncoding(target.host.toLower())))
               .arg(target.effectivePort());
}

} // namespace

PublishController::PublishController(QWidget &window, Page page)
    : QObject(&window), m_window(window), m_page(std::move(page))
{
}

PublishController::~PublishController() = default;

bool PublishController::pageSaved()
{
    // The publish sends the file on the disk: unsaved edits would not reach the server.
    if (!m_page.path().isEmpty() && !m_page.modified())
        return true;
    if (messages::ask(&m_window, messages::applicationTitle(),
                      QStringLiteral("公開するのは保存されたファイルです。ページを保存しますか？"),
                      QMessageBox::Yes | QMessageBox::Cancel,
                      QMessageBox::Question) != QMessageBox::Yes)
        return false;
    m_page.save();
    return !m_page.path().isEmpty() && !m_page.modified();
}

std::optional<publishsettings::Site> PublishController::editTarget()
{
    const QString path = m_page.path();
    if (path.isEmpty()) {
        messages::inform(&m_window,
                         QStringLiteral("先にページを保存してください。公開先はページの"
                                        "フォルダ（サイトのフォルダ）ごとに設定します。"));
        return std::nullopt;
    }
    const std::optional<publishsettings::Site> stored = publishsettings::siteFor(path);
    PublishTarget shown = stored ? stored->target : PublishTarget{};
    PublishTargetDialog dialog(publishtargetfields::fields(shown),
                               stored ? stored->root : QFileInfo(path).absolutePath(), &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (!QFileInfo(path).absoluteFilePath().startsWith(dialog.root() + u'/')) {
        messages::warn(&m_window,
                       QStringLiteral("サイトのフォルダはページのあるフォルダか、その上の"
                                      "フォルダにしてください。"));
        return std::nullopt;
    }
    publishsettings::Site site{dialog.root(), dialog.target()};
    // A certificate trusted for this server stays trusted when other fields change.
    if (stored && stored->target.identity() == site.target.identity())
        site.target.certificatePin = stored->target.certificatePin;
    publishsettings::store(site);
    if (!site.target.password.isEmpty())
        m_passwords.remember(site.target.identity(), site.target.password);
    return site;
}

void PublishController::publish()
{
    if (m_job || !pageSaved())
        return;
    m_linkedPages = false;
    std::optional<publishsettings::Site> site = publishsettings::siteFor(m_page.path());
    if (!site && !(site = editTarget()))
        return;
    const bool needsPassword =
        site->target.protocol != PublishTarget::Protocol::Folder && site->target.keyFile.isEmpty();
    m_passwords.find(site->target.identity(), [this, site = *site, needsPassword](
                                                  std::optional<QString> known) mutable {
        if (!known && needsPassword) {
            bool ok = false;
            known = QInputDialog::getText(
                &m_window, messages::applicationTitle(),
                QStringLiteral("%1@%2 のパスワード:").arg(site.target.user, site.target.host),
                QLineEdit::Password, QString(), &ok);
            if (!ok)
                return;
            m_passwords.remember(site.target.identity(), *known);
        }
        site.target.password = known.value_or(QString());
        start(site, QString());
    });
}

void PublishController::start(const publishsettings::Site &site, const QString &acceptedHostKey)
{
    m_site = site;
    m_job = std::make_unique<PublishJob>(
        site.target, RemoteSite::Options{knownHostsFile(site.target), acceptedHostKey, nullptr},
        Manifest::pathFor(site.target));
    connect(m_job.get(), &PublishJob::prepared, this, &PublishController::prepared);
    connect(m_job.get(), &PublishJob::finished, this, &PublishController::finished);
    connect(m_job.get(), &PublishJob::progressed, this, [this](const PublishProgress &p) {
        if (m_progress) {
            m_progress->setLabelText(publishlisttext::progressText(p));
            m_progress->setValue(p.total > 0 ? int(p.sent * 1000 / p.total) : 0);
        }
    });
    showProgress(QStringLiteral("公開するファイルを調べています…"));
    m_job->prepare(m_page.path(), site.root, {m_linkedPages});
}

void PublishController::showProgress(const QString &text)
{
    if (!m_progress) {
        m_progress = new QProgressDialog(&m_window);
        m_progress->setObjectName(QStringLiteral("publishProgress"));
        m_progress->setWindowTitle(QStringLiteral("サイトへ公開"));
        m_progress->setCancelButtonText(QStringLiteral("キャンセル"));
        m_progress->setRange(0, 1000);
        m_progress->setMinimumDuration(0);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        // Not modal: the window stays usable while the files go; a second publish waits.
        connect(m_progress, &QProgressDialog::canceled, this, [this] {
            if (m_job)
                m_job->cancel();
        });
    }
    m_progress->setLabelText(text);
    m_progress->setValue(0);
    m_progress->show();
}

void PublishController::endJob()
{
    if (m_progress)
        m_progress->deleteLater();
    m_job.reset();
}

void PublishController::prepared(const QList<publishplan::Item> &items, const QStringList &warnings,
                                 const TransferError &error)
{
    if (m_progress)
        m_progress->hide();
    if (error.kind == TransferError::Kind::HostKeyUnknown) {
        endJob();
        if (messages::ask(&m_window, messages::applicationTitle(),
                          error.message() + QStringLiteral("\n\nこのサーバーを信頼しますか？"),
                          QMessageBox::Yes | QMessageBox::No,
                          QMessageBox::Warning) == QMessageBox::Yes)
            start(m_site, error.fingerprint);
        return;
    }
    if (error.kind == TransferError::Kind::Certificate && !error.fingerprint.isEmpty() &&
        m_site.target.certificatePin.isEmpty()) {
        endJob();
        if (messages::ask(&m_window, messages::applicationTitle(),
                          error.message() + QStringLiteral("\n\nこの証明書を信頼しますか？"),
                          QMessageBox::Yes | QMessageBox::No,
                          QMessageBox::Warning) == QMessageBox::Yes) {
            m_site.target.certificatePin = error.fingerprint; // remembered with the target
            publishsettings::store(m_site);
            start(m_site, QString());
        }
        return;
    }
    if (!error.ok()) {
        endJob();
        if (error.kind == TransferError::Kind::Login)
            m_passwords.forget(m_site.target.identity());
        if (error.kind != TransferError::Kind::Cancelled)
            messages::warn(&m_window, error.message());
        return;
    }
    PublishListDialog list(items, warnings, m_linkedPages, &m_window);
    const int answer = list.exec();
    if (answer == PublishListDialog::kLinkedPagesSwitched) {
        m_linkedPages = !m_linkedPages;
        showProgress(QStringLiteral("公開するファイルを調べています…"));
        m_job->prepare(m_page.path(), m_site.root, {m_linkedPages});
        return;
    }
    if (answer != QDialog::Accepted) {
        endJob();
        return;
    }
    showProgress(QStringLiteral("送信を始めています…"));
    m_job->send(list.items());
}

void PublishController::finished(const PublishResult &result)
{
    endJob();
    if (result.error.ok() && result.manifestError.isEmpty())
        messages::inform(&m_window, publishlisttext::doneText(result));
    else if (result.error.kind != TransferError::Kind::Cancelled || result.sent > 0)
        messages::warn(&m_window, publishlisttext::doneText(result));
}

} // namespace lumipage
