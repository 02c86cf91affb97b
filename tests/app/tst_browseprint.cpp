// Browse mode as visitors see the page (at a phone's and a tablet's width, with the
// pictures it names anywhere on the disk) and the page on paper: printing and PDF.
#include "support/testsupport.h"

#include "support/scripteddialogs.h"

#include "app/printcontroller.h"
#include "commands/commandactions.h"
#include "platform/browsing/browseframe.h"
#include "platform/browsing/shownfiles.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWebEngineView>

using namespace lumipage;
using namespace lumipage::test;

class TestBrowsePrint : public QObject
{
    Q_OBJECT

    std::unique_ptr<WebEngineEditingComponent> m_editor;
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }
    // The text of a PDF file, as pdftotext reads it.
    static QString pdfText(const QString &pdf)
    {
        QProcess reader;
        reader.start(QStringLiteral("pdftotext"),
                     {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        if (!reader.waitForFinished(10000))
            return QStringLiteral("(pdftotext did not end)");
        return QString::fromUtf8(reader.readAllStandardOutput()).simplified();
    }
    QVariant inBrowsePage(const QString &script)
    {
        return evalInPage(browseView(*m_editor), script);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Settings of this run only: the width choice is remembered there.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings().remove(QStringLiteral("browse/previewWidth"));
        m_editor = shownEditor();
        // Narrower than a tablet, wider than a phone.
        m_editor->resize(700, 500);
    }
    void cleanupTestCase() { m_editor.reset(); }

    void eachWidthLaysThePageOutAtItsWidthAndIsRemembered()
    {
        writeBytes(path("media.htm"),
                   "<html><head><style>#m{color:rgb(0,0,255)}"
                   "@media (max-width: 600px){#m{color:rgb(255,0,0)}}</style></head>"
                   "<body><p id=m>media</p></body></html>");
        QVERIFY(loadAndWait(*m_editor, path("media.htm")));
        m_editor->setBrowseMode(true);
        auto *widths = m_editor->findChild<QComboBox *>(QStringLiteral("previewWidth"));
        QVERIFY(widths && widths->isVisible());
        QCOMPARE(widths->currentText(), QStringLiteral("パソコン"));
        const QString probe =
            QStringLiteral("document.readyState == 'complete' ? innerWidth + ' ' + "
                           "getComputedStyle(document.getElementById('m')).color : ''");
        const int stageWidth = browseView(*m_editor)->parentWidget()->width();
        QTRY_COMPARE(inBrowsePage(probe).toString(),
                     QStringLiteral("%1 rgb(0, 0, 255)").arg(stageWidth));

        // A width chosen lays the page out anew and loads it again, so that its scripts
        // measure at that width: the probe waits for that load.
        QSignalSpy reloaded(browseView(*m_editor)->page(), &QWebEnginePage::loadFinished);
        QVERIFY(choose(*widths, QStringLiteral("タブレット")));
        QTRY_VERIFY(!reloaded.isEmpty());
        QTRY_COMPARE(inBrowsePage(probe).toString(), QStringLiteral("768 rgb(0, 0, 255)"));
        QWebEngineView *view = browseView(*m_editor);
        QCOMPARE(view->width(), stageWidth); // shrunk to fit the window
        QVERIFY(view->zoomFactor() < 1.0);

        reloaded.clear();
        QVERIFY(choose(*widths, QStringLiteral("スマートフォン")));
        QTRY_VERIFY(!reloaded.isEmpty());
        QTRY_COMPARE(inBrowsePage(probe).toString(), QStringLiteral("375 rgb(255, 0, 0)"));
        QCOMPARE(view->width(), 375); // at its size, centred
        QCOMPARE(view->x(), (stageWidth - 375) / 2);
        QCOMPARE(view->zoomFactor(), 1.0);

        // Browse mode starts again at the phone's width, and so does a new window.
        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
        m_editor->setBrowseMode(true);
        QTRY_COMPARE(inBrowsePage(probe).toString(), QStringLiteral("375 rgb(255, 0, 0)"));
        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
        BrowseFrame another;
        QCOMPARE(another.findChild<QComboBox *>(QStringLiteral("previewWidth"))->currentText(),
                 QStringLiteral("スマートフォン"));
    }

    // Pictures outside the page's folder show as a browser opening the file shows them:
    // by file: URL, and by CSS url() in a style attribute, a style element and a linked
    // sheet; the page's scripts still read nothing outside the folder.
    void picturesOutsideTheFolderShowWhileScriptsStayConfined()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("site")));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("pics")));
        const QList<std::pair<const char *, QColor>> pictures = {
            {"a", Qt::red}, {"b", Qt::green}, {"c", Qt::blue}, {"d", Qt::yellow}};
        for (const auto &[name, colour] : pictures) {
            QImage picture(20, 20, QImage::Format_RGB32);
            picture.fill(colour);
            QVERIFY(picture.save(path(QStringLiteral("pics/%1.png").arg(QLatin1String(name)))));
        }
        writeBytes(path("secret.txt"), "SECRET");
        writeBytes(path("site/sheet.css"), "#d { background: url(../pics/d.png) }");
        const QString box = QStringLiteral("position:absolute;top:0;width:20px;height:20px;left:");
        QString page = QStringLiteral(
            "<html><head><link rel=stylesheet href=sheet.css>"
            "<style>#c { background: url('ROOT/pics/c.png') }</style></head>"
            "<body style='margin:0'><img id=a src='file://ROOT/pics/a.png' style='BOX0px'>"
            "<div id=b style='BOX30px;background-image:url(\"../pics/b.png\")'></div>"
            "<div id=c style='BOX60px'></div><div id=d style='BOX90px'></div>"
            "<script>Promise.all(['../secret.txt', 'file://ROOT/secret.txt'].map("
            "u => fetch(u).then(r => r.text(), () => 'blocked'))).then("
            "r => { window.fetched = r.join(); });</script></body></html>");
        page.replace(QLatin1String("ROOT"), m_dir.path()).replace(QLatin1String("BOX"), box);
        writeBytes(path("site/page.htm"), page.toUtf8());
        QVERIFY(loadAndWait(*m_editor, path("site/page.htm")));
        m_editor->setBrowseMode(true);
        QWebEngineView *view = browseView(*m_editor);
        QVERIFY(view);
        for (int i = 0; i < pictures.size(); ++i)
            QTRY_COMPARE_WITH_TIMEOUT(QColor(view->grab().toImage().pixel(30 * i + 10, 10)),
                                      pictures.at(i).second, 10000);
        QTRY_COMPARE(inBrowsePage(QStringLiteral("window.fetched")),
                     QVariant(QStringLiteral("blocked,blocked")));
        m_editor->setBrowseMode(false);
        QVERIFY(waitForComplete(*m_editor));
    }

    // Only tags and style elements name their files anew; text and scripts keep theirs.
    void fileUrlsAreRenamedInMarkupAndStylesOnly()
    {
        const QString page = QStringLiteral(
            "<P title='file:///t'>file:///x</P><IMG src=\"FILE:///a b.png\"><SCRIPT>"
            "fetch('file:///s')</SCRIPT><STYLE>b{background:url(file://localhost/b.png)}</STYLE>"
            "<!-- <img src=file:///c> --><A href=file://server/share/d.png>");
        QCOMPARE(
            shownfiles::withFileUrlsOn(page, QStringLiteral("v://files")),
            QStringLiteral("<P title='v://files/t'>file:///x</P><IMG src=\"v://files/a b.png\">"
                           "<SCRIPT>fetch('file:///s')</SCRIPT><STYLE>b{background:url("
                           "v://files/b.png)}</STYLE><!-- <img src=file:///c> -->"
                           "<A href=file://server/share/d.png>"));
    }

    // PDFとして保存… writes what browse mode shows, its transitions at their end (this
    // one would take half a minute to play); a PDF that cannot be written is reported
    // and leaves nothing behind.
    void aPdfHoldsThePageAsItEndsAndAFailedOneSaysSo()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
                 "pdftotext (poppler-utils) is needed");
        writeBytes(path("paper.htm"),
                   "<HTML><HEAD><META charset=utf-8></HEAD><BODY><P>Paper test \xe5\x8d\xb0\xe5"
                   "\x88\xb7\xe3\x81\xae\xe7\xa2\xba\xe8\xaa\x8d</P>"
                   "<DIV ID=veld STYLE=\"width:300px;height:40px;"
                   "filter:revealTrans(Duration=30, Transition=3)\">Playing</DIV>"
                   "<SCRIPT TYPE=text/vbscript>\nSub window_onload()\n"
                   "    veld.filters.item(0).Apply\n    veld.filters.item(0).Play\nEnd Sub\n"
                   "Sub veld_onfilterchange()\n    veld.innerText = \"Transition ended\"\n"
                   "End Sub\n</SCRIPT></BODY></HTML>");
        QVERIFY(loadAndWait(*m_editor, path("paper.htm")));
        ScriptedCommonDialog dialog;
        CommandActions actions;
        QWidget window;
        new PrintController(*m_editor, dialog, actions, window);

        // The message box that may follow the job's progress box is answered and kept.
        const auto saveAsPdf = [&](const QString &target) {
            dialog.files.enqueue(target);
            actions.run(CommandId::SavePdf);
            QPointer<QWidget> progress; // the box of this job, not one still being deleted
            for (QWidget *box : window.findChildren<QWidget *>("printProgress"))
                if (box->isVisible())
                    progress = box;
            auto said = std::make_shared<QStringList>();
            if (progress)
                answerNextModal(
                    [said](QWidget *modal) {
                        auto *box = qobject_cast<QMessageBox *>(modal);
                        *said << (box ? box->text()
                                      : QLatin1String(modal->metaObject()->className()));
                        if (box)
                            clickMessageBoxButton(box, QMessageBox::Ok);
                    },
                    progress);
            return std::pair(progress, said);
        };

        const auto [progress, said] = saveAsPdf(path("paper")); // .pdf comes with the filter
        QVERIFY(progress);
        QTRY_VERIFY_WITH_TIMEOUT(!progress, 20000);
        QVERIFY2(said->isEmpty(), qPrintable(said->join(u'\n')));
        QVERIFY(readBytes(path("paper.pdf")).startsWith("%PDF-"));
        const QString text = pdfText(path("paper.pdf"));
        QVERIFY2(text.contains(QStringLiteral("Paper test 印刷の確認")) &&
                     text.contains(QStringLiteral("Transition ended")),
                 qPrintable(text));

        // 印刷… prints on what the system's dialog chose (here its PDF file printer).
        answerNextModal([this](QWidget *modal) {
            auto *dialog = qobject_cast<QPrintDialog *>(modal);
            QVERIFY(dialog);
            auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
            QVERIFY(file);
            file->setText(path("printed.pdf"));
            dialog->printer()->setResolution(150);
            dialog->accept();
        });
        actions.run(CommandId::Print);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path("printed.pdf")).size() > 1000, 20000);
        QTRY_VERIFY(!window.findChild<QWidget *>(QStringLiteral("printProgress")));
        QVERIFY(readBytes(path("printed.pdf")).startsWith("%PDF-"));

        const auto [failing, failure] = saveAsPdf(path("gone/paper.pdf"));
        QTRY_COMPARE_WITH_TIMEOUT(failure->size(), 1, 20000);
        QVERIFY2(failure->first().contains(QStringLiteral("保存先のフォルダがありません。")),
                 qPrintable(failure->first()));
        QVERIFY(!QFileInfo::exists(path("gone")));
    }
};

LUMIPAGE_TEST_MAIN(TestBrowsePrint)
#include "tst_browseprint.moc"
