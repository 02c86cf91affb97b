#pragma once

#include <QPointer>
#include <QString>
#include <QWebEngineUrlSchemeHandler>

class QWebEngineProfile;

namespace lumipage
{
class EditingComponent;
} // namespace lumipage

namespace lumipage::test
{

// Stands in for the editing surface's own page scheme while it lives, so that loading a
// small page takes as long as a test needs: the file chosen with serve() reaches the
// engine a piece at a time, or stops arriving part-way (a load that stalls); every other
// request goes to the surface's own handler. The file is sent as it lies on disk, so
// pages served this way are written in UTF-8. Puts the surface's handler back on
// destruction.
class SlowPageServer : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    explicit SlowPageServer(EditingComponent &editor);
    ~SlowPageServer() override;

    // Serves the file at `path` in pieces of `chunk` bytes, one every `intervalMs`; with
    // `stopAfter` of 0 or more, nothing after that many bytes ever comes.
    void serve(const QString &path, qsizetype chunk, int intervalMs, qsizetype stopAfter = -1);
    // Whether the surface's page requests now come here.
    bool installed() const { return m_original != nullptr; }

    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    QPointer<QWebEngineProfile> m_profile;
    QPointer<QWebEngineUrlSchemeHandler> m_original;
    QString m_path;
    qsizetype m_chunk = 0;
    int m_intervalMs = 0;
    qsizetype m_stopAfter = -1;
};

} // namespace lumipage::test
