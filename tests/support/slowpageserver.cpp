#include "support/slowpageserver.h"

#include "platform/browsing/documentscheme.h"
#include "platform/editing/editingcomponent.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QMutex>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineView>

#include <cstring>

namespace lumipage::test
{

namespace
{

// Bytes handed out a piece at a time. The engine reads the device on a thread of its own
// and waits for readyRead when a read gives nothing, so the release of each piece (on the
// thread that made the device) and the reads are kept apart by a lock. The end is a read
// that fails once everything has been read, however long the pauses between pieces.
class TrickleDevice : public QIODevice
{
public:
    TrickleDevice(QByteArray bytes, qsizetype chunk, int intervalMs, qsizetype stopAfter,
                  QObject *parent)
        : QIODevice(parent), m_bytes(std::move(bytes)), m_chunk(std::max<qsizetype>(1, chunk)),
          m_limit(stopAfter >= 0 ? std::min(stopAfter, m_bytes.size()) : m_bytes.size())
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        m_timer.setInterval(intervalMs);
        connect(&m_timer, &QTimer::timeout, this, &TrickleDevice::release);
        m_timer.start();
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        QMutexLocker lock(&m_lock);
        return m_released - m_read;
    }
    bool atEnd() const override
    {
        QMutexLocker lock(&m_lock);
        return m_read >= m_bytes.size();
    }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        QMutexLocker lock(&m_lock);
        if (m_read >= m_bytes.size())
            return -1; // the end, as a sequential device tells it
        const qint64 count = std::min<qint64>(maxSize, m_released - m_read);
        std::memcpy(data, m_bytes.constData() + m_read, count);
        m_read += count;
        return count;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    void release()
    {
        {
            QMutexLocker lock(&m_lock);
            m_released = std::min(m_released + m_chunk, m_limit);
            if (m_released >= m_limit)
                m_timer.stop();
        }
        emit readyRead();
    }

    const QByteArray m_bytes;
    const qsizetype m_chunk;
    const qsizetype m_limit;
    qsizetype m_released = 0;
    qsizetype m_read = 0;
    mutable QMutex m_lock;
    QTimer m_timer;
};

QWebEngineProfile *surfaceProfile(EditingComponent &editor)
{
    auto *view = editor.findChild<QWebEngineView *>();
    return view ? view->page()->profile() : nullptr;
}

} // namespace

SlowPageServer::SlowPageServer(EditingComponent &editor) : m_profile(surfaceProfile(editor))
{
    if (!m_profile)
        return;
    m_original = const_cast<QWebEngineUrlSchemeHandler *>(
        m_profile->urlSchemeHandler(QByteArray(kDocumentScheme)));
    if (!m_original)
        return;
    m_profile->removeUrlScheme(QByteArray(kDocumentScheme));
    m_profile->installUrlSchemeHandler(QByteArray(kDocumentScheme), this);
}

SlowPageServer::~SlowPageServer()
{
    if (!m_profile || !m_original)
        return;
    m_profile->removeUrlScheme(QByteArray(kDocumentScheme));
    m_profile->installUrlSchemeHandler(QByteArray(kDocumentScheme), m_original);
}

void SlowPageServer::serve(const QString &path, qsizetype chunk, int intervalMs,
                           qsizetype stopAfter)
{
    m_path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    m_chunk = chunk;
    m_intervalMs = intervalMs;
    m_stopAfter = stopAfter;
}

void SlowPageServer::requestStarted(QWebEngineUrlRequestJob *job)
{
    if (m_path.isEmpty() || QDir::cleanPath(job->requestUrl().path()) != m_path) {
        if (m_original)
            m_original->requestStarted(job);
        return;
    }
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    job->reply("text/html;charset=utf-8",
               new TrickleDevice(file.readAll(), m_chunk, m_intervalMs, m_stopAfter, job));
}

} // namespace lumipage::test
