#include "browser_host/custom_control_site.h"

#include "browser_host/external_bridge.h"
#include "browser_host/page_origin.h"
#include "browser_host/web_browser2.h"
#include "page_services/page_services.h"
#include "resources/resource_strings.h"

#include <QChildEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWidget>

namespace {

constexpr char kShimScriptName[] = "quillo-external-shim";
constexpr char kPageHooksScriptName[] = "quillo-page-hooks";
constexpr char kBridgeScriptName[] = "quillo-external-bridge";

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
        services.external, *page, [this](const QWebEnginePage& caller) { return mayCall(caller); }, this);
    m_channel->registerObject(QString::fromLatin1(quillo::kExternalBridgeObject), m_bridge);
    // Like the top document, a frame that completes later gets the top document scanned again.
    connect(m_bridge, &quillo::ExternalBridge::frameCompleted, m_browser, &CWebBrowser2::DocumentComplete);
    // The transport lives in the client's private world: page script cannot reach it directly.
    page->setWebChannel(m_channel, QWebEngineScript::ApplicationWorld);
    installExternalScripts();
    // New windows, permissions and the like, as a desktop browser would handle them.
    if (services.pageServices != nullptr)
        services.pageServices->attachPage(*page);
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
}

std::optional<quillo::CallRefusal> CCustomControlSite::mayCall(const QWebEnginePage& page) const {
    // An ended window is hidden, and its page may still run until the blank page replaces it:
    // its calls would act on whatever window is active next, the main window included.
    if (!m_browser->window()->isVisible())
        return quillo::CallRefusal::WindowEnded;
    if (!quillo::isTrustedPage(m_services.trust, page.url()))
        return quillo::CallRefusal::UntrustedOrigin;
    return std::nullopt;
}

void CCustomControlSite::ShowContextMenu(const QPoint& screenPos) {
    delete m_menu;
    m_menu = new QMenu(m_browser);
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    m_menu->addAction(QString::fromLatin1(quillo::res::kContextMenuRefresh), this,
                      &CCustomControlSite::onRefresh);
    m_menu->addAction(QString::fromLatin1(quillo::res::kContextMenuBack), this, &CCustomControlSite::onBack);
    m_menu->popup(screenPos);
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
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
