#include "app/printcontroller.h"

#include "commands/commandactions.h"
#include "platform/browsing/pageprinter.h"
#include "platform/desktop/commondialog.h"
#include "platform/editing/editingcomponent.h"
#include "platform/effects/effectspage.h"
#include "platform/desktop/messages.h"
#include "document/pagefile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>

namespace lumipage
{

PrintController::PrintController(EditingComponent &editor, CommonDialog &commonDialog,
                                 CommandActions &actions, QWidget &window)
    : QObject(&window), m_editor(editor), m_commonDialog(commonDialog), m_window(window),
      m_pages(new PagePrinter(this))
{
    // On paper a transition shows how it ends, not a moment of its play.
    m_pages->setTransform(effectsTransform(RuntimeHandle::Hidden, Transitions::Ended));
    actions.setHandler(CommandId::Print, [this] { print(); });
    actions.setHandler(CommandId::SavePdf, [this] { savePdf(); });
    connect(m_pages, &PagePrinter::printed, this, &PrintController::endJob);
    connect(m_pages, &PagePrinter::pdfRendered, this, &PrintController::writePdf);
    connect(m_pages, &PagePrinter::failed, this, [this](const QString &why) {
        endJob();
        messages::warn(&m_window, why);
    });
}

PrintController::~PrintController() = default;

bool PrintController::readPage(QString *path, QString *html)
{
    *html = m_editor.DocumentHTML();
    if (html->isEmpty()) {
        messages::warn(&m_window, m_editor.lastError().isEmpty()
                                      ? QStringLiteral("ページを読み取れませんでした。")
                                      : m_editor.lastError());
        return false;
    }
    *path = m_editor.documentPath().isEmpty()
                ? QCoreApplication::applicationDirPath() + QStringLiteral("/untitled.htm")
                : m_editor.documentPath();
    return true;
}

void PrintController::print()
{
    QString path, html;
    if (m_pages->busy() || !readPage(&path, &html))
        return;
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setDocName(QFileInfo(path).fileName());
    QPrintDialog dialog(printer.get(), &m_window);
    dialog.setObjectName(QStringLiteral("printDialog"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_printer = std::move(printer);
    // No cancel while printing: the engine's printing goes on with the printer to its end.
    showProgress(QStringLiteral("印刷しています…"), false);
    m_pages->print(path, html, m_printer.get());
}

void PrintController::savePdf()
{
    QString pagePath, html;
    if (m_pages->busy() || !readPage(&pagePath, &html))
        return;
    // The PDF's name is offered from the page's; the dialog's file name and filter for
    // pages stay as they were.
    CommonDialog &dialog = m_commonDialog;
    const QString pageFilter = dialog.filter, pageFileName = dialog.fileName;
    dialog.filter = QStringLiteral("PDFファイル(*.pdf)|*.pdf");
    dialog.fileName = !m_lastPdfName.isEmpty() ? m_lastPdfName
                      : m_editor.documentPath().isEmpty()
                          ? QString()
                          : QFileInfo(pagePath).completeBaseName() + QStringLiteral(".pdf");
    std::optional<QString> chosen = dialog.showSave(&m_window);
    dialog.filter = pageFilter;
    dialog.fileName = pageFileName;
    if (!chosen)
        return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    m_lastPdfName = path;
    if (QFileInfo::exists(path) &&
        messages::ask(&m_window, QStringLiteral("確認"),
                      QStringLiteral("同名ファイルがあります、上書きしますか？"),
                      QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    m_pdfPath = path;
    showProgress(QStringLiteral("PDFを作成しています…"), true);
    m_pages->renderPdf(pagePath, html);
}

void PrintController::showProgress(const QString &what, bool cancellable)
{
    // A busy box: the engine does not say how far it is. Window-modal, so the page is not
    // edited while its copy is rendered.
    m_progress = new QProgressDialog(what, QStringLiteral("キャンセル"), 0, 0, &m_window);
    m_progress->setObjectName(QStringLiteral("printProgress"));
    m_progress->setWindowTitle(messages::applicationTitle());
    m_progress->setWindowModality(Qt::WindowModal);
    m_progress->setMinimumDuration(0);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    if (!cancellable)
        m_progress->setCancelButton(nullptr);
    connect(m_progress, &QProgressDialog::canceled, this, [this] {
        m_pages->cancel();
        endJob();
    });
    m_progress->show();
}

void PrintController::endJob()
{
    if (m_progress) {
        m_progress->disconnect(this);
        m_progress->close();
    }
    m_printer.reset();
}

void PrintController::writePdf(const QByteArray &pdf)
{
    endJob();
    QString error;
    if (!pagefile::writeBytes(m_pdfPath, pdf, &error))
        messages::warn(&m_window, error);
}

} // namespace lumipage
