// Browse mode as visitors see the page (at a phone's and a tablet's width, with the
// pictures it names anywhere on the disk) and the page on paper: printing and PDF.
#include "support/testsupport.h"

#include "platform/browsing/browseframe.h"
#include "platform/editing/webengineeditingcomponent.h"

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QSettings>
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
    QVariant inBrowsePage(const QString &script)
    {
        return evalInPage(browseView(*m_editor), script);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
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

        QVERIFY(choose(*widths, QStringLiteral("タブレット")));
        QTRY_COMPARE(inBrowsePage(probe).toString(), QStringLiteral("768 rgb(0, 0, 255)"));
        QWebEngineView *view = browseView(*m_editor);
        QCOMPARE(view->width(), stageWidth); // shrunk to fit the window
        QVERIFY(view->zoomFactor() < 1.0);

        QVERIFY(choose(*widths, QStringLiteral("スマートフォン")));
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
};

LUMIPAGE_TEST_MAIN(TestBrowsePrint)
#include "tst_browseprint.moc"
