#include "ui/MainWindow.h"

#include <algorithm>
#include <utility>

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif
#include <QToolBar>
#include <QStatusBar>
#include <QToolButton>
#include <QWhatsThis>

#include "app/AppState.h"
#include "app/PinCommands.h"
#include "app/Prompter.h"
#include "app/UserGuide.h"
#include "app/WindowCascade.h"
#include "ui/AboutDialog.h"
#include "ui/BannerWidget.h"
#include "ui/CommandIcons.h"
#include "ui/FileTypeDialog.h"
#include "ui/GuideWindow.h"
#include "ui/MainMenus.h"
#include "ui/StatePanel.h"
#include "ui/UiText.h"

namespace kestrel {

using namespace CommandId;

namespace {

bool isPinCommand(int id)
{
    switch (id) {
    case kEnterPin:
    case kEnterPin2:
    case kChangePin:
    case kChangePin2:
    case kEnableDisablePin:
    case kUnblockCard:
    case kActivateFdn:
        return true;
    default:
        return false;
    }
}

} // namespace

MainWindow::MainWindow(AppState& state, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), m_state(state), m_prompter(prompter), m_progress(this)
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(uiText(strId(sid::Kestrel_9300)));
    setWindowIcon(CommandIcons::appIcon());
    buildMainArea();
    buildMenus();
    buildButtonBar();
    addAction(makeAction(kHelp, QString()));
    resize(680, 520);
    m_state.mainStatus().setOnChange([this] { refreshState(); });
    updateCommandState();
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
#if QT_CONFIG(sessionmanager)
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(gui, &QGuiApplication::commitDataRequest, this, &MainWindow::commitSessionData);
#endif
}

MainWindow::~MainWindow()
{
    // The editor windows go first, while this window can still take their goodbyes.
    m_destroying = true;
    m_state.mainStatus().setOnChange({});
    const std::vector<EditorWindow*> windows = m_windows;
    for (EditorWindow* w : windows)
        delete w;
    m_windows.clear();
}

QAction* MainWindow::makeAction(int id, const QString& text)
{
    auto* a = new QAction(text, this);
    a->setObjectName(QStringLiteral("cmd%1").arg(id));
    if (const QList<QKeySequence> keys = acceleratorsOf(id); !keys.isEmpty())
        a->setShortcuts(keys);
    connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
    m_actions[id] = a;
    return a;
}

void MainWindow::buildMainArea()
{
    m_banner = new BannerWidget;
    m_panel = new StatePanel([this](int id) { runCommand(id); });
    setCentralWidget(StatePanel::mainArea(m_banner, m_panel, this));

    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    statusBar()->addWidget(m_statusLine, 1);
}

void MainWindow::refreshState()
{
    const MainStatus& status = m_state.mainStatus();
    m_panel->showLines(status.lines());
    m_statusLine->setText(status.statusLine());
}

void MainWindow::buildMenus()
{
    for (const MenuDef& def : mainMenus()) {
        QMenu* menu = menuBar()->addMenu(uiText(def.titleId));
        menu->setObjectName(QStringLiteral("menu%1").arg(def.titleId));
        for (const MenuItem& item : def.items) {
            if (item.id == kMenuSeparator)
                menu->addSeparator();
            else
                menu->addAction(makeAction(item.id, uiText(item.textId)));
        }
    }
}

void MainWindow::buildButtonBar()
{
    m_buttons = addToolBar(QString());
    m_buttons->setObjectName(QStringLiteral("buttonBar"));
    m_buttons->setMovable(false);
    m_buttons->setFloatable(false);
    m_buttons->setIconSize(QSize(16, 16));
    m_buttons->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (int id = kFirstButton; id <= kLastButton; ++id) {
        if (MainCommands::isSeparator(id)) {
            m_buttons->addSeparator();
            continue;
        }
        const QString tip = StringTable::text(id);
        QAction* a = makeAction(id, tip);
        a->setToolTip(tip);
        a->setWhatsThis(tip);
        a->setIcon(CommandIcons::icon(id));
        m_buttons->addAction(a);
        if (QWidget* button = m_buttons->widgetForAction(a))
            button->setObjectName(QStringLiteral("button%1").arg(id));
    }
}

void MainWindow::setEditorFactory(EditorKind kind, EditorFactory factory)
{
    if (factory)
        m_factories[kind] = std::move(factory);
    else
        m_factories.erase(kind);
    updateCommandState();
}

void MainWindow::setCommandHook(int id, CommandHook hook)
{
    id = MainCommands::canonical(id);
    if (hook)
        m_hooks[id] = std::move(hook);
    else
        m_hooks.erase(id);
    updateCommandState();
}

QAction* MainWindow::action(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

DeskSnapshot MainWindow::snapshot() const
{
    DeskSnapshot s;
    s.active = m_desk.activeKind();
    s.phoneBooks = m_desk.registry(EditorKind::PhoneBook).count();
    s.fdn = m_desk.registry(EditorKind::Fdn).count();
    s.sms = m_desk.registry(EditorKind::Sms).count();
    s.canMakePhoneBook = m_factories.count(EditorKind::PhoneBook) > 0;
    s.canMakeFdn = m_factories.count(EditorKind::Fdn) > 0;
    s.canMakeSms = m_factories.count(EditorKind::Sms) > 0;
    s.card = m_state.simCard() != nullptr;
    if (const EditorWindow* w = activeEditor()) {
        s.canUndo = w->canUndo();
        s.canRedo = w->canRedo();
    }
    return s;
}

void MainWindow::updateCommandState()
{
    const DeskSnapshot s = snapshot();
    for (const auto& [id, a] : m_actions) {
        const std::optional<bool> rule = MainCommands::enabled(id, s);
        a->setEnabled(rule ? *rule : m_hooks.count(MainCommands::canonical(id)) > 0);
    }
    for (const int id : StatePanel::startCommands()) {
        if (const QAction* a = action(id))
            m_panel->setCommandEnabled(id, a->isEnabled());
    }
    // The reader may have changed (Setup).
    refreshState();
}

EditorWindow* MainWindow::windowOf(EditorHandle handle) const
{
    for (EditorWindow* w : m_windows) {
        if (w == handle)
            return w;
    }
    return nullptr;
}

EditorWindow* MainWindow::activeEditor() const
{
    return windowOf(m_desk.active());
}

EditorWindow* MainWindow::currentEditor(EditorKind kind) const
{
    return windowOf(m_desk.registry(kind).current());
}

std::vector<EditorWindow*> MainWindow::editors(EditorKind kind) const
{
    std::vector<EditorWindow*> out;
    for (const EditorHandle h : m_desk.registry(kind).windows()) {
        if (EditorWindow* w = windowOf(h))
            out.push_back(w);
    }
    return out;
}

void MainWindow::activate(EditorWindow* window)
{
    if (!window)
        return;
    m_desk.activated(window);
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
    updateCommandState();
}

EditorWindow* MainWindow::openEditor(const EditorRequest& request)
{
    EditorRegistry& registry = m_desk.registry(request.kind);
    const EditorRegistry::Selection sel = registry.select(request.selector, request.createNew, m_desk.active());
    QPointer<EditorWindow> window = windowOf(sel.current);
    if (sel.createNumber >= 0) {
        const auto factory = m_factories.find(request.kind);
        if (factory == m_factories.end())
            return nullptr;
        EditorWindow* made = factory->second(request.kind, *this, this);
        if (!made)
            return nullptr;
        placeNewEditor(*made);
        shareAccelerators(*made);
        registry.add(made, sel.createNumber);
        m_windows.push_back(made);
        m_desk.activated(made);
        updateCommandState();
        window = made;
        // May read the card or a file at once, and may even close again.
        made->create(sel.createNumber, request.readMode);
    }
    if (!window)
        return nullptr;
    activate(window);
    if (request.thenSend != 0)
        window->handleCommand(request.thenSend);
    return window;
}

void MainWindow::placeNewEditor(EditorWindow& window)
{
    // From the window opened last that is still open (m_windows keeps the order of opening).
    std::optional<QPoint> last;
    std::vector<QPoint> taken;
    for (EditorWindow* w : m_windows) {
        if (w->isVisible()) {
            last = w->pos();
            taken.push_back(w->pos());
        }
    }
    const QRect available = screen() ? screen()->availableGeometry() : QRect();
    const QPoint first = mapToGlobal(QPoint(0, 0)) + QPoint(150, 50);
    window.move(WindowCascade::next(last, taken, window.size(), available, first));
}

void MainWindow::shareAccelerators(EditorWindow& window)
{
    // The keys run runCommand there as here, which forwards to the editor as the menus do; a key
    // is one shortcut whichever of the windows is active, so it never fires twice.
    for (const auto& [id, a] : m_actions) {
        if (!a->shortcuts().isEmpty())
            window.addAction(a);
    }
}

void MainWindow::OnEditorHistoryChanged(EditorWindow* window)
{
    if (!m_destroying && window == activeEditor())
        updateCommandState();
}

void MainWindow::OnEditorActivated(EditorWindow* window)
{
    if (m_destroying || !m_desk.activated(window))
        return;
    updateCommandState();
}

void MainWindow::OnEditorClosed(EditorWindow* window)
{
    const EditorHandle next = m_desk.closed(window);
    m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), window), m_windows.end());
    if (m_destroying)
        return;
    if (EditorWindow* w = windowOf(next); w && !m_exiting)
        activate(w);
    updateCommandState();
}

bool MainWindow::mayCloseEditors()
{
    return m_desk.mayCloseAll(
        [this](EditorHandle h) {
            const EditorWindow* w = windowOf(h);
            return w && w->hasUnsavedChanges();
        },
        m_prompter);
}

void MainWindow::closeEditorsWithoutAsking()
{
    std::vector<QPointer<EditorWindow>> order;
    for (const EditorHandle h : m_desk.closeOrder()) {
        if (EditorWindow* w = windowOf(h))
            order.emplace_back(w);
    }
    for (const QPointer<EditorWindow>& w : order) {
        if (w)
            w->closeWithoutAsking();
    }
}

bool MainWindow::CloseAllEditors()
{
    // One question for all windows, before any is closed: No leaves every one of them open.
    if (!mayCloseEditors())
        return false;
    closeEditorsWithoutAsking();
    return m_desk.openCount() == 0;
}

void MainWindow::exitProgram()
{
    // Unwritten changes are not lost without the question, whichever way the program is left.
    if (!CloseAllEditors())
        return;
    m_exiting = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_exiting && !CloseAllEditors()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance() && !m_exiting) {
        // Qt would close the top-level windows in no fixed order, each editor window with its own
        // question: the one question comes first (unless the session manager's came just before),
        // and a refusal keeps the program running.
        const bool approved = std::exchange(m_sessionEndApproved, false);
        if (!approved && !mayCloseEditors()) {
            event->ignore();
            return true;
        }
        closeEditorsWithoutAsking();
        m_exiting = true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::commitSessionData(QSessionManager& manager)
{
#if QT_CONFIG(sessionmanager)
    m_sessionEndApproved = false;
    // Without leave to ask there is no one to answer: the windows stay as they are, and the quit
    // that may follow asks.
    if (!manager.allowsInteraction())
        return;
    const bool go = mayCloseEditors();
    manager.release();
    if (go)
        m_sessionEndApproved = true;
    else
        manager.cancel();
#else
    (void)manager;
#endif
}

void MainWindow::enterToolbarMode()
{
    m_toolbarMode = false; // the resize below is ours, not the user's
    centralWidget()->setMinimumSize(0, 0);
    statusBar()->hide();
    // The window's minimum height follows at once, not at the next turn of the event loop.
    layout()->invalidate();
    layout()->activate();
    const int h = toolbarModeHeight();
    resize(width(), h);
    m_toolbarMode = true;
}

int MainWindow::toolbarModeHeight() const
{
    const int bar = m_buttons->isVisible() ? m_buttons->height() : m_buttons->sizeHint().height();
    return menuBar()->sizeHint().height() + std::max(bar, 1);
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (m_toolbarMode && event->oldSize().isValid() && event->size().height() != event->oldSize().height() &&
        event->size().height() != toolbarModeHeight()) {
        m_toolbarMode = false;
        statusBar()->show();
    }
    layoutBanner();
}

void MainWindow::layoutBanner()
{
    // The client area starts at the top of the button bar.
    m_banner->setClientOffset(std::max(0, m_banner->mapTo(this, QPoint(0, 0)).y() - m_buttons->y()));
}

void MainWindow::showAbout()
{
    AboutDialog dialog(this);
    dialog.exec();
}

void MainWindow::forward(int id)
{
    if (EditorWindow* w = activeEditor()) {
        if (const int command = MainCommands::forwardedCommand(id, w->kind()); command != 0)
            w->handleCommand(command);
    }
}

void MainWindow::openFileButton()
{
    if (activeEditor()) {
        forward(kOpenFileButton);
        return;
    }
    std::vector<EditorKind> kinds;
    if (m_factories.count(EditorKind::PhoneBook))
        kinds.push_back(EditorKind::PhoneBook);
    if (m_factories.count(EditorKind::Sms))
        kinds.push_back(EditorKind::Sms);
    const std::optional<EditorKind> kind = FileTypeDialog::ask(kinds, this);
    if (!kind)
        return;
    if (openEditor(EditorRequest{*kind, EditorRegistry::kNoCycling, false, -1, 0}))
        forward(kOpenFileButton);
}

void MainWindow::runPinCommand(int id)
{
    SimCard* card = m_state.simCard();
    if (!card)
        return;
    PinCommands commands(*card, m_prompter, &m_progress);
    switch (id) {
    case kEnterPin:
        commands.enterPin();
        break;
    case kEnterPin2:
        commands.enterPin2();
        break;
    case kChangePin:
        commands.changePin(1);
        break;
    case kChangePin2:
        commands.changePin(2);
        break;
    case kEnableDisablePin:
        commands.enableDisablePin();
        break;
    case kUnblockCard:
        commands.unblockCard();
        break;
    case kActivateFdn:
        commands.activateFdn();
        break;
    default:
        break;
    }
}

void MainWindow::runCommand(int id)
{
    if (QAction* a = action(id); a && !a->isEnabled())
        return;
    const int command = MainCommands::canonical(id);
    if (const std::optional<EditorRequest> request =
            MainCommands::editorRequest(command, snapshot(), m_state.settings().autoRead)) {
        openEditor(*request);
        return;
    }
    if (isPinCommand(command)) {
        runPinCommand(command);
        return;
    }
    switch (command) {
    case kOpenFileButton:
        openFileButton();
        return;
    case kPrintButton:
    case kPrintPhoneBook:
        if (EditorWindow* w = activeEditor())
            w->printList();
        return;
    case kPrintMessages:
        if (EditorWindow* w = currentEditor(EditorKind::Sms))
            w->printList();
        return;
    case kCloseAll:
        CloseAllEditors();
        return;
    case kExit:
        exitProgram();
        return;
    case kAbout:
    case kHelp:
        showAbout();
        return;
    case kUserGuide:
    case kHelpContents:
        GuideWindow::showPage(this, UserGuide::pageFor(m_desk.activeKind()));
        return;
    case kContextHelp:
        QWhatsThis::enterWhatsThisMode();
        return;
    default:
        break;
    }
    if (MainCommands::forwardedCommand(command, m_desk.activeKind()) != 0) {
        forward(command);
        return;
    }
    if (const auto hook = m_hooks.find(command); hook != m_hooks.end()) {
        const CommandHook run = hook->second; // the hook may replace itself
        run(*this);
        updateCommandState();
    }
}

} // namespace kestrel
