#include "app/application.h"

#include "app/commandline.h"
#include "app/documentrecovery.h"
#include "app/mainwindow.h"
#include "platform/browsing/documentscheme.h"
#include "platform/editing/webengineeditingcomponent.h"
#include "platform/desktop/programfiles.h"
#include "widgets/icons.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <unistd.h>

namespace lumipage
{

namespace
{

void installTranslations(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
}

int printHtml(const QString &file)
{
    WebEngineEditingComponent component;
    if (!component.LoadDocument(file)) {
        std::fprintf(stderr, "lumipage: %s\n", qPrintable(component.lastError()));
        return 1;
    }
    const QString html = component.DocumentHTML();
    if (html.isEmpty()) {
        std::fprintf(stderr, "lumipage: %s\n", qPrintable(component.lastError()));
        return 1;
    }
    const QByteArray utf8 = html.toUtf8();
    std::fwrite(utf8.constData(), 1, utf8.size(), stdout);
    return 0;
}

} // namespace

void prepareProcess()
{
    // Chromium's sandbox cannot run as root; everyone else keeps it.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    registerDocumentScheme();
}

void nameApplication()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Lumipage"));
    QCoreApplication::setApplicationName(QStringLiteral("Lumipage"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.02"));
}

int runLumipage(int argc, char **argv)
{
    prepareProcess();
    QApplication app(argc, argv);
    nameApplication();
    // Before the engine starts: it reads where its dictionaries lie once.
    programfiles::pointEngineAtDictionaries();

    QString error;
    const std::optional<CommandLine> line = parseCommandLine(app.arguments().mid(1), &error);
    if (!line) {
        std::fprintf(stderr,
                     "lumipage: %s\n"
                     "usage: lumipage [FILE]\n"
                     "       lumipage --screenshot PNG [FILE]\n"
                     "       lumipage --print-html FILE\n",
                     qPrintable(error));
        return 2;
    }
    installTranslations(app);
    // A bare X server names no icon theme: one that is installed serves the toolbar.
    Icons::chooseTheme(app.palette().color(QPalette::Window).lightness() < 128);
    QApplication::setWindowIcon(Icons::application());
    if (line->mode == CommandLine::Mode::PrintHtml)
        return printHtml(line->file);

    // The program works from the folder its data files lie in.
    QDir::setCurrent(programfiles::sideFolder());
    MainWindow window;
    programfiles::releaseEngineDictionaries(); // the engine has started with its page
    window.show();
    // A page an editor that died left behind comes first; then the one asked for.
    const bool restored =
        line->mode != CommandLine::Mode::Screenshot && window.recovery().offerOrphans();
    if (!restored && !line->file.isEmpty())
        window.openFile(line->file);

    if (line->mode == CommandLine::Mode::Screenshot) {
        const QString png = line->screenshot;
        QObject::connect(
            window.editor(), &EditingComponent::DocumentComplete, &window,
            [&window, png] {
                // Give the engine a moment to paint the loaded page.
                QTimer::singleShot(1200, &window, [&window, png] {
                    const bool saved = window.grab().save(png);
                    if (!saved)
                        std::fprintf(stderr, "lumipage: cannot write %s\n", qPrintable(png));
                    QCoreApplication::exit(saved ? 0 : 1);
                });
            },
            Qt::SingleShotConnection);
    }
    return app.exec();
}

} // namespace lumipage
