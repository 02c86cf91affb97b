#include "platform/browsing/pageprinter.h"

#include "platform/browsing/browsepage.h"
#include "platform/browsing/browsesession.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace lumipage
{

namespace
{
// The view's size while the copy loads: what runs on load measures a page of about a
// sheet's width; the engine lays the page out again for the paper.
constexpr QSize kLoadSize(800, 1100);
} // namespace

PagePrinter::PagePrinter(QObject *parent) : QObject(parent), m_session(new BrowseSession(this)) {}

PagePrinter::~PagePrinter()
{
    // The view goes before the session's profile does.
    ++m_generation;
    delete m_session->view();
}

void PagePrinter::setTransform(PageTransform transform)
{
    m_session->setTransform(std::move(transform));
}

void PagePrinter::renderPdf(const QString &path, const QString &html)
{
    start(Job::Pdf, path, html);
}

void PagePrinter::print(const QString &path, const QString &html, QPrinter *printer)
{
    m_printer = printer;
    start(Job::Print, path, html);
}

void PagePrinter::cancel()
{
    ++m_generation;
    m_job = Job::None;
    m_printer = nullptr;
    m_session->stop();
}

void PagePrinter::start(Job job, const QString &path, const QString &html)
{
    m_job = job;
    const quint64 generation = ++m_generation;
    // A view of its own that is never shown: printing needs a view, the user does not.
    QWebEngineView *view = m_session->start(path, QFileInfo(path).fileName(), html, nullptr);
    view->resize(kLoadSize);
    if (auto *page = qobject_cast<BrowsePage *>(view->page()))
        page->stopDialogs();
    connect(view->page(), &QWebEnginePage::loadFinished, this, [this, generation](bool ok) {
        if (generation == m_generation)
            onLoaded(ok);
    });
    connect(view, &QWebEngineView::printFinished, this, [this, generation](bool ok) {
        if (generation != m_generation)
            return;
        finish();
        if (ok)
            emit printed();
        else
            emit failed(tr("印刷できませんでした。プリンターの設定を確かめてください。"));
    });
}

void PagePrinter::onLoaded(bool ok)
{
    if (!ok) {
        finish();
        emit failed(tr("ページを読み込めませんでした。"));
        return;
    }
    // One trip into the page first, so that what its load started at once (handlers
    // queued for right after the load) has run when the page is rendered.
    const quint64 generation = m_generation;
    m_session->view()->page()->runJavaScript(QStringLiteral("0"),
                                             QWebEngineScript::ApplicationWorld,
                                             [this, generation](const QVariant &) {
                                                 if (generation == m_generation)
                                                     render();
                                             });
}

void PagePrinter::render()
{
    QWebEngineView *view = m_session->view();
    if (m_job == Job::Print) {
        view->print(m_printer);
        return;
    }
    const quint64 generation = m_generation;
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                         QPageLayout::Millimeter);
    view->page()->printToPdf(
        [this, generation](const QByteArray &pdf) {
            if (generation != m_generation)
                return;
            finish();
            if (pdf.isEmpty())
                emit failed(tr("PDFを作成できませんでした。"));
            else
                emit pdfRendered(pdf);
        },
        a4);
}

void PagePrinter::finish()
{
    m_job = Job::None;
    m_printer = nullptr;
    m_session->stop();
}

} // namespace lumipage
