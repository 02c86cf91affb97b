#pragma once

#include "publish/publishsettings.h"
#include "transfer/publishjob.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QProgressDialog;
class QWidget;

namespace lumipage
{

// 公開先の設定… and サイトへ公開…: the target of the page's site, and a publish of the
// saved page with everything it needs (list before sending, progress with cancel, the
// count at the end). The transfer runs on the job's worker, so the window stays
// responsive. Owns the job and the progress dialog of the publish under way.
class PublishController : public QObject
{
    Q_OBJECT
public:
    // What the controller needs of the page: its file, whether it has unsaved changes,
    // and the save command.
    struct Page {
        std::function<QString()> path;
        std::function<bool()> modified;
        std::function<void()> save;
    };
    // A child of `window`, which owns the dialogs.
    PublishController(QWidget &window, Page page);
    ~PublishController() override;

    // Shows the target dialog for the page's site; the site stored, or nullopt.
    std::optional<publishsettings::Site> editTarget();
    void publish();

private:
    bool pageSaved();
    void start(const publishsettings::Site &site, const QString &acceptedHostKey);
    void prepared(const QList<publishplan::Item> &items, const QStringList &warnings,
                  const TransferError &error);
    void finished(const PublishResult &result);
    void showProgress(const QString &text);
    void endJob();

    QWidget &m_window;
    Page m_page;
    PasswordStore m_passwords;
    publishsettings::Site m_site;
    bool m_linkedPages = false; // the local pages the page links to go too
    std::unique_ptr<PublishJob> m_job;
    QPointer<QProgressDialog> m_progress;
};

} // namespace lumipage
