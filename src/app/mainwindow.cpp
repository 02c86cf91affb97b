#include "app/mainwindow.h"

#include "app/commandtables.h"
#include "app/contextmenucontroller.h"
#include "app/document.h"
#include "app/documentfiles.h"
#include "app/documentrecovery.h"
#include "app/filedrops.h"
#include "app/pagecommands.h"
#include "app/palettewindow.h"
#include "app/picturepaste.h"
#include "app/printcontroller.h"
#include "app/recentfilesmenu.h"
#include "app/staterefresh.h"
#include "check/pagecheckcontroller.h"
#include "check/spellingsetting.h"
#include "commands/commandactions.h"
#include "insert/insertioncontroller.h"
#include "insert/pagepictures.h"
#include "insert/webimageinsertion.h"
#include "platform/desktop/commondialog.h"
#include "platform/editing/webengineeditingcomponent.h"
#include "platform/effects/effectspage.h"
#include "platform/desktop/messages.h"
#include "platform/desktop/programfiles.h"
#include "platform/desktop/shell.h"
#include "publish/publishcontroller.h"
#include "source/sourcepane.h"
#include "source/sourcepanecontroller.h"
#include "source/sourcepanelayout.h"
#include "styles/stylecontroller.h"
#include "widgets/icons.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QToolBar>

#include <algorithm>

namespace lumipage
{

namespace
{

constexpr int twips(int value)
{
    return value / 15;
}

// Design sizes in pixels (15 twips each).
constexpr int kMinimumWidth = twips(13740);
constexpr int kMinimumHeight = twips(1650);
constexpr int kSurfaceWidthMargin = twips(300);
constexpr int kSurfaceHeightMargin = twips(1830);
// The surface never shrinks below this, also where the design's formula goes negative.
constexpr int kMinimumSurfaceHeight = 0;

} // namespace

MainWindow::MainWindow(std::unique_ptr<CommonDialog> commonDialog, std::unique_ptr<Shell> shell,
                       QWidget *parent)
    : QMainWindow(parent),
      m_commonDialog(commonDialog ? std::move(commonDialog) : std::make_unique<CommonDialog>()),
      m_shell(shell ? std::move(shell) : std::make_unique<Shell>())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Lumipage Ver1.02"));
    setWindowIcon(Icons::application());
    m_actions = new CommandActions(this);
    buildControls();
    m_document = std::make_unique<Document>(*m_editor);
    buildToolbar();
    buildMenus();

    m_insertion = std::make_unique<InsertionController>(*m_editor, *m_commonDialog, *m_elementList,
                                                        *m_effectsList, programfiles::sideFolder());
    // Files chosen in the effect dialogs are named relative to the open page's folder.
    m_insertion->setPagePathSource([document = m_document.get()] { return document->path(); });
    connect(m_insertion.get(), &InsertionController::readMeRequested, this,
            [this] { run(CommandId::ReadMe); });
    m_recovery = std::make_unique<DocumentRecovery>(*m_editor, *m_document, *this);
    m_commands = std::make_unique<PageCommands>(*m_editor, *m_commonDialog, *m_document,
                                                *m_insertion, *m_actions, *this);
    m_files = std::make_unique<DocumentFiles>(*m_editor, *m_document, *m_commonDialog, *m_shell,
                                              *m_recovery, *m_actions, *this);
    // Recent pages and dropped files open through the road of 開く, with its question.
    const auto openAsked = [this](const QString &path) { m_files->openAsked(path); };
    new RecentFilesMenu(m_menuItems.value(QStringLiteral("recent_files"))->menu(),
                        m_files->recent(), openAsked);
    m_drops = std::make_unique<FileDrops>(*this, *m_editor, openAsked);
    m_webImages = std::make_unique<WebImageInsertion>(*this);
    m_drops->setImageMarkupRoad(webImageRoad());
    // A picture on the clipboard goes in as a dropped one; anything else as the engine does.
    auto *picturePaste = new PicturePaste(*this, *m_editor, *m_drops,
                                          [this] { m_actions->run(CommandId::SaveFile); });
    m_actions->setHandler(CommandId::Paste, [this, picturePaste] {
        if (!picturePaste->paste())
            m_editor->ExecCommand(decmd::PASTE, CommandOption::Prompt);
    });
    connect(
        m_editor, &EditingComponent::filesDropped, this,
        [this](const QList<QUrl> &urls, const QPoint &pos) { m_drops->droppedOnPage(urls, pos); });
    setAcceptDrops(true);
    m_refresh = std::make_unique<StateRefresh>(
        *m_editor, *m_document, *m_actions, m_insertion->shared(),
        StateRefresh::Controls{m_modeIndicator, m_elementList, m_effectsList, m_objectButtons});
    m_contextMenu = std::make_unique<ContextMenuController>(*m_editor, *m_actions);
    spelling::registerSetting(*m_editor, *m_actions);
    m_sourcePaneController = std::make_unique<SourcePaneController>(
        *m_editor, *m_sourcePane, [document = m_document.get()] { document->markChanged(); });
    connect(m_document.get(), &Document::modifiedChanged, this, [this](bool modified) {
        if (!modified)
            m_sourcePaneController->pageUnchanged();
    });
    m_sourcePaneLayout =
        std::make_unique<SourcePaneLayout>(*m_pageSplitter, *m_sourcePane, *m_sourcePaneController,
                                           *m_actions->action(CommandId::SourcePane));
    m_pageCheck = std::make_unique<PageCheckController>(*this, *m_editor, *m_actions,
                                                        *m_sourcePaneController);
    connect(m_document.get(), &Document::settled, m_pageCheck.get(),
            &PageCheckController::pageSettled);
    new PrintController(*m_editor, *m_commonDialog, *m_actions, *this); // 印刷…, PDFとして保存…
    auto *publish = new PublishController( // 公開先の設定…, サイトへ公開…
        *this, {[this] { return m_document->path(); }, [this] { return m_document->isModified(); },
                [this] { m_actions->run(CommandId::SaveFile); }});
    m_actions->setHandler(CommandId::PublishTarget, [publish] { publish->editTarget(); });
    m_actions->setHandler(CommandId::PublishSite, [publish] { publish->publish(); });
    m_styles = new StyleController(*this, *m_editor, *m_actions->action(CommandId::StylePanel));
    m_actions->setHandler(CommandId::StylePanel, [this] {
        m_styles->setShown(m_actions->action(CommandId::StylePanel)->isChecked());
    });
    registerCommands();
    applyStartState();
    resize(twips(13650), twips(8700) + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() = default;

ImageMarkupRoad MainWindow::webImageRoad()
{
    return [this](const ImageFields &fields, const QString &pageFolder, int shownWidth,
                  bool askAlways) {
        return m_webImages->markupFor(fields, pageFolder, shownWidth, askAlways);
    };
}

void MainWindow::buildControls()
{
    m_client = new QWidget(this);
    setCentralWidget(m_client);
    m_client->installEventFilter(this); // a docked panel shown or hidden resizes it

    // The page and its source pane share the surface's place; with the pane hidden the
    // page takes all of it.
    m_pageSplitter = new QSplitter(Qt::Horizontal, m_client);
    m_pageSplitter->setObjectName(QStringLiteral("pageSplitter"));
    m_pageSplitter->setChildrenCollapsible(false);
    m_pageSplitter->setGeometry(twips(120), twips(960), twips(13335), twips(7455));
    auto *surface = new WebEngineEditingComponent(m_pageSplitter);
    surface->setCommonDialog(m_commonDialog.get());
    surface->setImageMarkupRoad(webImageRoad());
    surface->setPageTransform(effectsTransform()); // browse mode plays the page's effects
    m_editor = surface;
    m_editor->setObjectName(QStringLiteral("DHTMLEdit1"));
    m_pageSplitter->addWidget(m_editor);
    m_sourcePane = new SourcePane(m_pageSplitter);
    m_pageSplitter->addWidget(m_sourcePane);
    m_pageSplitter->setStretchFactor(0, 1);
    m_pageSplitter->setStretchFactor(1, 1);
    m_sourcePane->hide();
    connect(m_editor, &EditingComponent::linkActivated, this, [this](const QUrl &url) {
        m_shell->open(url.isLocalFile() ? url.toLocalFile() : url.toString());
    });

    const QStringList tips = {QStringLiteral("ｵﾌﾞｼﾞｪｸﾄのｸﾞﾙｰﾌﾟ化"),
                              QStringLiteral("ｵﾌﾞｼﾞｪｸﾄが前面"), QStringLiteral("ｵﾌﾞｼﾞｪｸﾄが背面"),
                              QStringLiteral("書式のクリア")};
    const int lefts[] = {6360, 6720, 7080, 6000};
    const char *glyphs[] = {"◇", "▲", "▼", "Ⓐ"};
    for (int i = 0; i < 4; ++i) {
        auto *button = new QPushButton(m_client);
        button->setObjectName(QStringLiteral("Command6_%1").arg(i));
        button->setProperty("index", i);
        button->setToolTip(tips.at(i));
        button->setIcon(Icons::glyph(QString::fromUtf8(glyphs[i]), i == 3 ? 3 : 4));
        button->setGeometry(twips(lefts[i]), twips(480), twips(375), twips(375));
        m_objectButtons.append(button);
    }

    m_modeIndicator = new QLineEdit(QStringLiteral("編集モード"), m_client);
    m_modeIndicator->setObjectName(QStringLiteral("Text4"));
    m_modeIndicator->setReadOnly(true);
    m_modeIndicator->setFocusPolicy(Qt::NoFocus);
    m_modeIndicator->setAlignment(Qt::AlignCenter);
    m_modeIndicator->setGeometry(twips(7440), twips(480), twips(1215), twips(300));

    m_elementList = new QComboBox(m_client);
    m_elementList->setObjectName(QStringLiteral("Combo1"));
    m_elementList->setEditable(true);
    m_elementList->setGeometry(twips(8760), twips(480), twips(2295), twips(315));
    m_elementList->setInsertPolicy(QComboBox::NoInsert);
    m_effectsList = new QComboBox(m_client);
    m_effectsList->setObjectName(QStringLiteral("Combo2"));
    m_effectsList->setEditable(true);
    m_effectsList->setInsertPolicy(QComboBox::NoInsert);
    m_effectsList->setGeometry(twips(11040), twips(480), twips(2535), twips(315));
    m_effectsList->setToolTip(QStringLiteral("同一文書には現時点では一つのScriptのみの対応です。"
                                             "複数使用の場合はソースの編集を行ってください。"));

    auto *author = new QPushButton(QStringLiteral("作者"), m_client);
    author->setObjectName(QStringLiteral("Command1"));
    author->setGeometry(twips(13800), twips(1920), twips(615), twips(375));
    connect(author, &QPushButton::clicked, this, [this] { run(CommandId::Author); });
}

void MainWindow::registerCommands()
{
    // What was typed in the source pane reaches the page before any command acts on it.
    m_actions->setBeforeEachCommand([this] { m_sourcePaneController->applyTyped(); });
    m_actions->setHandler(CommandId::SourcePane, [this] {
        m_sourcePaneLayout->setShown(m_actions->action(CommandId::SourcePane)->isChecked());
    });
    m_actions->setHandler(CommandId::Exit, [this] { confirmExit(); });
    m_actions->setHandler(CommandId::InsertTable, [this] { m_insertion->insertTable(); });
    m_actions->setHandler(CommandId::OptimizePagePictures,
                          [this] { optimizePagePictures(*m_editor, *this); });

    static constexpr CommandId kObjectCommands[] = {CommandId::MakeAbsolute, CommandId::BringAbove,
                                                    CommandId::SendBelow, CommandId::RemoveFormat};
    for (QPushButton *button : m_objectButtons) {
        const CommandId command = kObjectCommands[button->property("index").toInt()];
        connect(button, &QPushButton::clicked, this, [this, command] {
            // Before the command acts, whatever it then does.
            m_editor->setEditingAid(EditingAid::HiddenAndPlaced, true);
            run(command);
        });
    }
}

void MainWindow::applyStartState()
{
    m_refresh->resetBackgroundPosition();
    QGuiApplication::clipboard()->clear();
    m_actions->setEnabled(CommandId::Browse, true);
    m_actions->setEnabled(CommandId::Edit, false);
    m_insertion->fillLists();
    m_sourcePaneLayout->restore();
}

QAction *MainWindow::action(CommandId id) const
{
    return m_actions->action(id);
}

QAction *MainWindow::toolbarButton(const QString &key) const
{
    for (const ToolbarRow &row : kToolbar)
        if (key == QLatin1String(row.key))
            return m_actions->action(row.command);
    return nullptr;
}

PaletteWindow *MainWindow::palette() const
{
    return m_commands->palette();
}

QAction *MainWindow::menuItem(const QString &name) const
{
    return m_menuItems.value(name);
}

void MainWindow::run(CommandId command)
{
    m_actions->run(command);
}

void MainWindow::openFile(const QString &path)
{
    m_files->openPath(path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    if (!event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    m_drops->droppedOnWindow(event->mimeData()->urls());
}

// --- window --------------------------------------------------------------------------

int MainWindow::surfaceHeightFor(int outerHeight)
{
    return std::max(kMinimumSurfaceHeight, outerHeight - kSurfaceHeightMargin);
}

void MainWindow::applyResizeRules()
{
    if (isMinimized())
        return;
    QSize size = this->size();
    if (size.width() < kMinimumWidth || size.height() < kMinimumHeight) {
        size = size.expandedTo(QSize(kMinimumWidth, kMinimumHeight));
        resize(size);
    }
    // A panel docked in the window (the page check) takes its room from the page's.
    const QSize room = m_client->size() - QSize(m_pageSplitter->x(), m_pageSplitter->y());
    m_pageSplitter->resize(std::min(size.width() - kSurfaceWidthMargin, room.width()),
                           std::min(surfaceHeightFor(size.height()), room.height()));
    m_toolbar->resize(std::max(size.width(), twips(13650)), m_toolbar->height());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        applyResizeRules();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    applyResizeRules();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        applyResizeRules();
}

void MainWindow::closeOtherWindows()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible())
            window->close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    const auto answer = messages::ask(
        this, QStringLiteral("保存"), QStringLiteral("データを保存してから終了しますか ?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Question);
    if (answer == QMessageBox::Yes) {
        // Only a save that happened ends the program: a cancelled or failed one keeps the page.
        if (!m_files->saveDocument()) {
            event->ignore();
            return;
        }
    } else if (answer != QMessageBox::No) {
        event->ignore();
        return;
    }
    closeOtherWindows();
    m_recovery->forgetPage(); // saved, or given up by the user
    event->accept();
}

void MainWindow::confirmExit()
{
    const auto answer =
        messages::ask(this, QStringLiteral("確認"), QStringLiteral("Lumipageを終了します！"),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer != QMessageBox::Yes)
        return;
    closeOtherWindows();
    close();
}

} // namespace lumipage
