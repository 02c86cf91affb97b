#pragma once

#include "platform/browsing/pagetransform.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QPrinter;

namespace lumipage
{

class BrowseSession;

// Puts what browse mode shows of a page on paper: the page is loaded in a browse session
// of its own (its scripts confined as in browse mode, its boxes answered as cancelled),
// put through the transform first (the effects runtime, transitions ended), and once it
// has loaded it is rendered as PDF or printed. One job at a time; the work is
// asynchronous and ends in exactly one of the signals.
class PagePrinter : public QObject
{
    Q_OBJECT
public:
    explicit PagePrinter(QObject *parent = nullptr);
    ~PagePrinter() override;

    void setTransform(PageTransform transform);
    // Starts rendering `html`, the page of the file `path`, as a PDF on A4 paper.
    void renderPdf(const QString &path, const QString &html);
    // Starts printing `html` on `printer`, which must live until the job ends.
    void print(const QString &path, const QString &html, QPrinter *printer);
    // Drops the job under way; no signal follows for it.
    void cancel();
    bool busy() const { return m_job != Job::None; }

signals:
    void pdfRendered(const QByteArray &pdf);
    void printed();
    // The job failed; `why` is for the user.
    void failed(const QString &why);

private:
    enum class Job { None, Pdf, Print };
    void start(Job job, const QString &path, const QString &html);
    void onLoaded(bool ok);
    void render();
    void finish();

    BrowseSession *m_session;
    Job m_job = Job::None;
    QPrinter *m_printer = nullptr;
    quint64 m_generation = 0; // which job a late answer of the engine belongs to
};

} // namespace lumipage
