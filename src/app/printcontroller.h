#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QPrinter;
class QProgressDialog;
class QWidget;

namespace lumipage
{

class CommandActions;
class CommonDialog;
class EditingComponent;
class PagePrinter;

// 印刷… and PDFとして保存…: the page as browse mode shows it (its effects at their end),
// on the printer the system's print dialog chooses or in a PDF file, with a progress box
// while the engine renders it and a message when that fails. A PDF is written as a save
// is, so a failed write leaves any old file whole. Owns the printer of the job under way.
class PrintController : public QObject
{
    Q_OBJECT
public:
    // A child of `window`, which owns the dialogs.
    PrintController(EditingComponent &editor, CommonDialog &commonDialog, CommandActions &actions,
                    QWidget &window);
    ~PrintController() override;

private:
    void print();
    void savePdf();
    // The page's file (a never-saved page has none: its names resolve nowhere) and HTML;
    // false, with the reason shown, when the page cannot be read.
    bool readPage(QString *path, QString *html);
    void showProgress(const QString &what, bool cancellable);
    void endJob();
    void writePdf(const QByteArray &pdf);

    EditingComponent &m_editor;
    CommonDialog &m_commonDialog;
    QWidget &m_window;
    PagePrinter *m_pages;
    std::unique_ptr<QPrinter> m_printer;
    QPointer<QProgressDialog> m_progress;
    QString m_pdfPath;     // where the PDF under way goes
    QString m_lastPdfName; // offered again by the next PDFとして保存…
};

} // namespace lumipage
