#pragma once

#include <QObject>

class QWebEngineProfile;

namespace lumipage
{

class DocumentSchemeHandler;

// An off-the-record profile serving the browse scheme, with the page's confinement, for
// sessions to show their pages in. Sessions that follow one another (the effect dialogs'
// previews) may share one kept for the run: a session then starts without making a
// profile and ends without taking one down.
class BrowseProfile : public QObject
{
    Q_OBJECT
public:
    explicit BrowseProfile(QObject *parent = nullptr);
    QWebEngineProfile *profile() const { return m_profile; }
    DocumentSchemeHandler *handler() const { return m_handler; }

private:
    QWebEngineProfile *m_profile;
    DocumentSchemeHandler *m_handler;
};

} // namespace lumipage
