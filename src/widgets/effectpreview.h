#pragma once

#include "fragments/dialogresult.h"

#include <QFrame>
#include <QTimer>

#include <functional>
#include <optional>

class QWebEngineView;

namespace lumipage
{

class BrowseProfile;
class BrowseSession;

// A small confined view beside an effect dialog's fields showing the effect the dialog
// would insert now, playing as in browse mode. It follows the fields: a change waits
// for a pause in typing, then the page is built again. Owns its browse session; the
// engine view is made only once the dialog opens with a page maker.
class EffectPreview : public QFrame
{
    Q_OBJECT
public:
    // What the fields would insert now; nothing while they hold a problem.
    using CurrentRequest = std::function<std::optional<EffectRequest>()>;
    // The whole page to preview for a request: its element and merged script.
    using PageMaker = std::function<QString(const EffectRequest &)>;

    EffectPreview(CurrentRequest current, QWidget *parent);
    ~EffectPreview() override;

    // Makes the view and shows the fields' effect at once; `pagePath` is where the previewed page
    // lies, so that the files it names relatively are found beside it.
    void setPageMaker(PageMaker maker, const QString &pagePath);
    // Shows the preview in `shared`, kept by the caller beyond this dialog, rather than in
    // a profile of its own made and taken down with the dialog; before setPageMaker().
    void shareProfile(BrowseProfile *shared);
    // Follows every text box, combo box and button of `form`.
    void follow(QWidget *form);
    // Builds the page again after the pause (a later call restarts the pause).
    void schedule();
    // The page the view shows now (empty before the first); the view itself.
    QString shownPage() const { return m_shown; }
    QWebEngineView *view() const;

    // The pause after the last change before the page is built again.
    static constexpr int kPauseMs = 300;

signals:
    // A new page went to the view.
    void pageShown();

private:
    void refresh();

    CurrentRequest m_current;
    PageMaker m_maker;
    QString m_pagePath;
    QString m_shown;
    QTimer m_pause;
    BrowseSession *m_session;
};

} // namespace lumipage
