#pragma once

#include "platform/browsing/browseprofile.h"
#include "platform/browsing/pagetransform.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QUrl;
class QWebEngineProfile;
class QWebEngineView;

namespace lumipage
{

class BrowsePage;

// Browse mode: a copy of the page shown in a throw-away page of its own off-the-record
// profile (so its own renderer process), with page scripts on. Nothing done there can
// reach the document, and a hung script cannot stall the editing page. The page is
// confined: its own folder tree through the browse scheme and the web, nothing else —
// no file: or internal address, no download, permission, clipboard read or new window.
class BrowseSession : public QObject
{
    Q_OBJECT
public:
    explicit BrowseSession(QObject *parent = nullptr);

    // What the copy goes through before it is shown (the effects runtime added); without
    // one the page is shown as it is.
    void setTransform(PageTransform transform) { m_transform = std::move(transform); }
    // Shows the pages in `shared` (which outlives the session's views) rather than in a
    // profile of the session's own; before the first start().
    void useProfile(BrowseProfile *shared) { m_profile = shared; }

    // A new view showing `html` at the document URL of `path`; owned by `parent`. The
    // page's boxes call it `pageName`.
    QWebEngineView *start(const QString &path, const QString &pageName, const QString &html,
                          QWidget *parent);
    // Shows `html` in the view already started, at the same document URL (a live
    // preview following its dialog's fields); false when no view is shown.
    bool replace(const QString &html);
    // Loads the copy shown again from the start (its scripts and effects run anew).
    void reload();
    // Throws the view away with whatever its scripts did.
    void stop();
    QWebEngineView *view() const { return m_view; }
    // The page's script statements the transform left out of the page shown last, each
    // as "N 行目: what", for the user to read once.
    QStringList leftOut() const { return m_leftOut; }

signals:
    // A link was followed; the page stays where it is.
    void linkActivated(const QUrl &url);
    // The engine's process behind the browsed copy died.
    void rendererDied();

private:
    // Loads the transformed copy of `html` into `page` and notes what it left out.
    void show(BrowsePage &page, const QString &html);

    PageTransform m_transform;
    BrowseProfile *m_profile = nullptr;
    QPointer<QWebEngineView> m_view;
    QString m_path;
    QStringList m_leftOut;
};

} // namespace lumipage
