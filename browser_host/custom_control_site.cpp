#include "browser_host/custom_control_site.h"

#include "browser_features/context_menu.h"
#include "browser_features/spell_check.h"
#include "browser_features/zoom_keeper.h"
#include "browser_host/external_bridge.h"
#include "browser_host/web_browser2.h"
#include "page_services/page_origin.h"
#include "page_services/page_services.h"
#include "resources/resource_strings.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QWebChannel>
#include <QWebEngineContextMenuRequest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWheelEvent>
#include <QWidget>

namespace {

constexpr char kShimScriptName[] = "quillo-external-shim";
constexpr char kPageHooksScriptName[] = "quillo-page-hooks";
constexpr char kBridgeScriptName[] = "quillo-external-bridge";
constexpr char kMediaWatchScriptName[] = "quillo-media-watch";

quillo::FilteredKey filteredKey(int key) {
    switch (key) {
    case Qt::Key_F5:
        return quillo::FilteredKey::F5;
    case Qt::Key_O:
        return quillo::FilteredKey::O;
    case Qt::Key_P:
        return quillo::FilteredKey::P;
    case Qt::Key_N:
        return quillo::FilteredKey::N;
    default:
        return quillo::FilteredKey::Other;
    }
}

void replaceScript(QWebEngineScriptCollection& scripts, const QString& name, const QString& source,
                   quint32 worldId) {
    const QList<QWebEngineScript> old = scripts.find(name);
    for (const QWebEngineScript& script : old)
        scripts.remove(script);
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(worldId);
    script.setRunsOnSubFrames(true);
    scripts.insert(script);
}

} // namespace

CCustomControlSite::CCustomControlSite(const quillo::BrowserServices& services, QWidget* container)
    : QObject(container)
    , m_services(services)
    , m_browser(new CWebBrowser2(container)) {
    // The browser's page and its recovery come from the application, as every browser's do.
    if (services.makePage)
        m_browser->setPage(services.makePage(*m_browser));
    if (services.attachRecovery)
        services.attachRecovery(*m_browser);
    // Our menu replaces the page's; the page's own contextmenu handlers still run first.
    m_browser->setContextMenuPolicy(Qt::CustomContextMenu);
    // At the pointer, which is where the click was: the window system knows it for certain, while
    // the window's own idea of where it sits can lag behind a window manager that just placed it.
    connect(m_browser, &QWidget::customContextMenuRequested, this,
            [this] { ShowContextMenu(QCursor::pos()); });

    // Keys reach the browser's focus proxy, which the view replaces when a page changes process.
    m_browser->installEventFilter(this);
    for (QObject* child : m_browser->children())
        watchKeys(child);
    if (QWidget* proxy = m_browser->focusProxy())
        watchKeys(proxy);

    QWebEnginePage* page = m_browser->page();
    m_channel = new QWebChannel(this);
    m_bridge = new quillo::ExternalBridge(
        services.external, *page, *m_browser,
        [this](const QWebEnginePage& caller, const QString& origin) { return mayCall(caller, origin); },
        this);
    m_channel->registerObject(QString::fromLatin1(quillo::kExternalBridgeObject), m_bridge);
    // Like the top document, a frame that completes later gets the top document scanned again.
    connect(m_bridge, &quillo::ExternalBridge::frameCompleted, m_browser, &CWebBrowser2::DocumentComplete);
    // The transport lives in the client's private world: page script cannot reach it directly.
    page->setWebChannel(m_channel, QWebEngineScript::ApplicationWorld);
    installExternalScripts();
    // New windows, permissions and the like, as a desktop browser would handle them.
    if (services.pageServices != nullptr)
        services.pageServices->attachPage(*page);

    // The engine forgets a page's zoom when it navigates, so the site's level is set again on
    // every new address and load; and a site zoomed in another window is followed here too.
    connect(page, &QWebEnginePage::urlChanged, this, &CCustomControlSite::applyRememberedZoom);
    connect(page, &QWebEnginePage::loadFinished, this, &CCustomControlSite::applyRememberedZoom);
    if (services.zoom != nullptr) {
        connect(services.zoom, &ZoomKeeper::factorChanged, this,
                [this](const QString& origin, double factor) {
                    if (zoomOrigin(m_browser->page()->url()) == origin &&
                        m_browser->page()->zoomFactor() != factor)
                        m_browser->page()->setZoomFactor(factor);
                });
    }
}

CCustomControlSite::~CCustomControlSite() = default;

void CCustomControlSite::installExternalScripts() {
    QWebEngineScriptCollection& scripts = m_browser->page()->scripts();
    replaceScript(scripts, QString::fromLatin1(kShimScriptName), m_services.scripts.shim,
                  QWebEngineScript::MainWorld);
    replaceScript(scripts, QString::fromLatin1(kBridgeScriptName), m_services.scripts.bridge,
                  QWebEngineScript::ApplicationWorld);
    if (!m_services.scripts.pageHooks.isEmpty())
        replaceScript(scripts, QString::fromLatin1(kPageHooksScriptName), m_services.scripts.pageHooks,
                      QWebEngineScript::MainWorld);
    // In the client's world: the run's token that marks its reports stays out of the page's reach.
    if (!m_services.scripts.mediaWatch.isEmpty())
        replaceScript(scripts, QString::fromLatin1(kMediaWatchScriptName), m_services.scripts.mediaWatch,
                      QWebEngineScript::ApplicationWorld);
}

std::optional<quillo::CallRefusal> CCustomControlSite::mayCall(const QWebEnginePage& page,
                                                               const QString& callerOrigin) const {
    // An ended window is hidden, and its page may still run until the blank page replaces it:
    // its calls would act on whatever window is active next, the main window included.
    if (!m_browser->window()->isVisible())
        return quillo::CallRefusal::WindowEnded;
    // The frame that calls, whatever page it sits in; and the bridge lives in the top frame, whose
    // page must be trusted as well.
    if (!m_services.trust.grants(quillo::askingFrame(callerOrigin)) ||
        !quillo::isTrustedPage(m_services.trust, page.url()))
        return quillo::CallRefusal::UntrustedOrigin;
    return std::nullopt;
}

void CCustomControlSite::ShowContextMenu(const QPoint& screenPos) {
    delete m_menu;
    m_menu = new QMenu(m_browser);
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    QWebEnginePage* page = m_browser->page();
    const quillo::MenuContext context = menuContext();
    for (const quillo::MenuItem& item : quillo::contextMenuItems(context)) {
        // Each entry carries the engine's answer for this spot and runs the command directly,
        // whatever state the engine's own actions were last left in.
        const auto addEdit = [&](const char* text, QWebEnginePage::WebAction command) {
            QAction* action = m_menu->addAction(QCoreApplication::translate("CCustomControlSite", text), page,
                                                [page, command] { page->triggerAction(command); });
            action->setEnabled(item.enabled);
        };
        switch (item.entry) {
        case quillo::MenuEntry::Suggestion: {
            const QString word = QString::fromStdString(item.text);
            m_menu->addAction(word, page, [page, word] { page->replaceMisspelledWord(word); });
            break;
        }
        case quillo::MenuEntry::NoSuggestions:
            m_menu
                ->addAction(
                    QCoreApplication::translate("CCustomControlSite", quillo::res::kContextMenuNoSuggestions))
                ->setEnabled(false);
            break;
        case quillo::MenuEntry::Undo:
            addEdit(quillo::res::kContextMenuUndo, QWebEnginePage::Undo);
            break;
        case quillo::MenuEntry::Redo:
            addEdit(quillo::res::kContextMenuRedo, QWebEnginePage::Redo);
            break;
        case quillo::MenuEntry::Cut:
            addEdit(quillo::res::kContextMenuCut, QWebEnginePage::Cut);
            break;
        case quillo::MenuEntry::Copy:
            addEdit(quillo::res::kContextMenuCopy, QWebEnginePage::Copy);
            break;
        case quillo::MenuEntry::Paste:
            addEdit(quillo::res::kContextMenuPaste, QWebEnginePage::Paste);
            break;
        case quillo::MenuEntry::SelectAll:
            addEdit(quillo::res::kContextMenuSelectAll, QWebEnginePage::SelectAll);
            break;
        case quillo::MenuEntry::SpellingLanguages:
            addSpellingLanguages(*m_menu);
            break;
        case quillo::MenuEntry::Refresh:
            m_menu->addAction(
                QCoreApplication::translate("CCustomControlSite", quillo::res::kContextMenuRefresh), this,
                &CCustomControlSite::onRefresh);
            break;
        case quillo::MenuEntry::Back:
            m_menu->addAction(
                QCoreApplication::translate("CCustomControlSite", quillo::res::kContextMenuBack), this,
                &CCustomControlSite::onBack);
            break;
        case quillo::MenuEntry::Separator:
            m_menu->addSeparator();
            break;
        }
    }
    m_menu->popup(screenPos);
}

quillo::MenuContext CCustomControlSite::menuContext() const {
    quillo::MenuContext context;
    context.languageChoice = m_services.spelling != nullptr && m_services.spelling->installed().size() > 1;
    // Null when the menu was not asked for by the engine (a test, or the keyboard on the frame).
    const QWebEngineContextMenuRequest* request = m_browser->lastContextMenuRequest();
    if (request == nullptr)
        return context;
    using Flag = QWebEngineContextMenuRequest::EditFlag;
    const QWebEngineContextMenuRequest::EditFlags flags = request->editFlags();
    context.editable = request->isContentEditable();
    context.hasSelection = !request->selectedText().isEmpty();
    context.can = {flags.testFlag(Flag::CanUndo),  flags.testFlag(Flag::CanRedo),
                   flags.testFlag(Flag::CanCut),   flags.testFlag(Flag::CanCopy),
                   flags.testFlag(Flag::CanPaste), flags.testFlag(Flag::CanSelectAll)};
    context.misspeltWord = request->misspelledWord().toStdString();
    for (const QString& suggestion : request->spellCheckerSuggestions())
        context.suggestions.push_back(suggestion.toStdString());
    return context;
}

void CCustomControlSite::addSpellingLanguages(QMenu& menu) {
    SpellCheck* spelling = m_services.spelling;
    QMenu* languages = menu.addMenu(
        QCoreApplication::translate("CCustomControlSite", quillo::res::kContextMenuSpellingLanguages));
    const QStringList checked = spelling->languages();
    for (const QString& language : spelling->installed()) {
        QAction* action = languages->addAction(language);
        action->setCheckable(true);
        action->setChecked(checked.contains(language));
        connect(action, &QAction::toggled, spelling,
                [spelling, language](bool on) { spelling->setLanguageChecked(language, on); });
    }
}

QMenu* CCustomControlSite::contextMenu() const {
    return m_menu;
}

void CCustomControlSite::onRefresh() {
    routeCommand(quillo::BrowserCommand::Refresh);
}

void CCustomControlSite::onBack() {
    routeCommand(quillo::BrowserCommand::Back);
}

void CCustomControlSite::routeCommand(quillo::BrowserCommand command) {
    if (const auto& router = m_services.commandRouter; router && router(*m_browser, command))
        return;
    if (command == quillo::BrowserCommand::Refresh)
        m_browser->Refresh();
    else
        m_browser->GoBack(); // no earlier page: nothing happens and nothing is said
}

void CCustomControlSite::applyRememberedZoom() {
    if (m_services.zoom == nullptr)
        return;
    QWebEnginePage* page = m_browser->page();
    const double factor = m_services.zoom->factorFor(page->url());
    if (page->zoomFactor() != factor)
        page->setZoomFactor(factor);
}

bool CCustomControlSite::handleZoomKey(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    if (!modifiers.testFlag(Qt::ControlModifier) || modifiers.testFlag(Qt::AltModifier) ||
        modifiers.testFlag(Qt::MetaModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Plus: // Ctrl+Shift+= on most layouts, and the keypad's
    case Qt::Key_Equal:
        zoomBy(1);
        return true;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        zoomBy(-1);
        return true;
    case Qt::Key_0:
        setZoom(quillo::kDefaultZoom);
        return true;
    default:
        return false;
    }
}

void CCustomControlSite::zoomBy(int steps) {
    setZoom(quillo::zoomStep(m_browser->page()->zoomFactor(), steps));
}

void CCustomControlSite::setZoom(double factor) {
    QWebEnginePage* page = m_browser->page();
    page->setZoomFactor(factor);
    if (m_services.zoom != nullptr)
        m_services.zoom->setFactor(page->url(), factor);
}

void CCustomControlSite::watchKeys(QObject* widget) {
    if (widget != nullptr && widget->isWidgetType())
        widget->installEventFilter(this);
}

bool CCustomControlSite::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == m_browser)
            watchKeys(static_cast<QChildEvent*>(event)->child());
        break;
    case QEvent::KeyPress: {
        if (watched == m_browser)
            break;
        const auto* key = static_cast<QKeyEvent*>(event);
        // Zoom is the client's, as in a browser: the page never sees these keys.
        if (handleZoomKey(*key))
            return true;
        m_keys.press(filteredKey(key->key()));
        // A press with Alt is a system key, never filtered; Ctrl is judged as the press saw it.
        const bool plainPress = !key->modifiers().testFlag(Qt::AltModifier);
        if (quillo::isKeySwallowed(m_keys.input(plainPress, key->modifiers().testFlag(Qt::ControlModifier))))
            return true;
        break;
    }
    case QEvent::KeyRelease:
        if (watched != m_browser)
            m_keys.release(filteredKey(static_cast<QKeyEvent*>(event)->key()));
        break;
    case QEvent::FocusOut:
        m_keys.forget();
        m_wheel.reset();
        break;
    case QEvent::Wheel: {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (watched == m_browser || !wheel->modifiers().testFlag(Qt::ControlModifier))
            break;
        // The engine would zoom by its own steps and forget the level; ours are kept per site.
        if (const int notches = m_wheel.add(wheel->angleDelta().y()); notches != 0)
            zoomBy(notches);
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
