#include "browser_windows/custom_browser_dlg.h"

#include "browser_host/custom_control_site.h"
#include "browser_host/custom_occ_manager.h"
#include "browser_host/web_browser2.h"
#include "browser_windows/window_frame.h"
#include "resources/dialog_templates.h"
#include "resources/resource_loader.h"
#include "resources/resource_strings.h"

#include <QKeyEvent>
#include <QShowEvent>
#include <QTimer>

namespace {

// How long after showing a window a late frame still corrects its placement; later moves are the
// operator's.
constexpr int kPlacementSettleMs = 2000;

} // namespace

CCustomBrowserDlg::CCustomBrowserDlg(CCustomOccManager* siteFactory, QWidget* parent)
    : QDialog(parent)
    , m_siteFactory(siteFactory)
    , m_icon(quillo::res::loadAppIcon()) {
    // A window of its own even when the main window owns it, with the usual caption and frame.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromLatin1(quillo::res::kCustomBrowserTitle));
    setWindowIcon(m_icon);
    const quillo::Rect size = quillo::res::toPixels(quillo::res::kCustomBrowserDialog);
    resize(size.width, size.height);
}

CCustomBrowserDlg::~CCustomBrowserDlg() = default;

bool CCustomBrowserDlg::Create() {
    if (m_browser != nullptr)
        return true;
    if (m_siteFactory == nullptr)
        return false;
    m_site = m_siteFactory->CreateSite(this);
    m_browser = m_site->browser();
    if (m_browser == nullptr)
        return false;
    m_browser->setGeometry(rect());
    m_browser->show();
    return true;
}

void CCustomBrowserDlg::releaseEndedWindow() {
    if (!m_ended || !isHidden())
        return;
    if (m_browser != nullptr) {
        m_site->deleteLater();
        m_browser->deleteLater();
        m_site = nullptr;
        m_browser = nullptr;
    }
    // The window system's window and its backing store too; showing the window makes new ones.
    destroy();
}

QMargins CCustomBrowserDlg::knownFrameMargins() {
    return quillo::windows::knownFrameMargins();
}

void CCustomBrowserDlg::setOuterGeometry(const QRect& outer) {
    // move() places the frame's corner; resize() sizes the client, so the frame comes off first.
    move(outer.topLeft());
    resize(quillo::windows::contentSizeFor(outer, quillo::windows::knownFrameMargins()));
    m_pendingOuter = outer;
    ++m_placement;
    if (isVisible())
        correctOuterGeometry();
}

void CCustomBrowserDlg::correctOuterGeometry() {
    if (!m_pendingOuter)
        return;
    const QMargins margins = quillo::windows::frameMarginsOf(*this);
    if (margins.isNull())
        return;
    quillo::windows::noteFrameMargins(margins);
    const QRect outer = *m_pendingOuter;
    m_pendingOuter.reset();
    if (frameGeometry() == outer)
        return;
    resize(quillo::windows::contentSizeFor(outer, margins));
    move(outer.topLeft());
}

void CCustomBrowserDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window system's own shows (restoring from the taskbar) keep the page as it is.
    if (event->spontaneous())
        return;
    m_ended = false;
    if (Create())
        m_browser->Navigate2(m_strURL);
    if (m_pendingOuter) {
        correctOuterGeometry();
        // Only this placement's wait ends here; a window reopened meanwhile has its own.
        QTimer::singleShot(kPlacementSettleMs, this, [this, placement = m_placement] {
            if (placement == m_placement)
                m_pendingOuter.reset();
        });
    }
}

void CCustomBrowserDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_browser != nullptr)
        m_browser->setGeometry(rect());
    correctOuterGeometry();
}

void CCustomBrowserDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    correctOuterGeometry();
}

void CCustomBrowserDlg::keyPressEvent(QKeyEvent* event) {
    // Escape or Enter typed into the page is the page's, even when the page leaves it alone.
    if (CWebBrowser2::hasFocusWithin(*this)) {
        event->ignore();
        return;
    }
    if (quillo::windows::holdEndKey(*event, *this, m_browser))
        return;
    QDialog::keyPressEvent(event);
}

void CCustomBrowserDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Back from the window manager's move, resize or maximise, or from another window.
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::ActivationChange)
        quillo::windows::keyboardBackToPage(*this, m_browser);
}

void CCustomBrowserDlg::done(int result) {
    const bool wasEnded = m_ended;
    m_ended = true;
    m_pendingOuter.reset();
    QDialog::done(result);
    if (wasEnded)
        return;
    // Nothing shows an ended window's page again, so the browser goes with its page and renderer:
    // no script keeps running unseen, and a hundred ended windows hold no memory. Opening the
    // window again creates a new one. Not at once: the page that asked for the end, or the window
    // system's close event, is still being handled; the hidden window refuses calls meanwhile.
    QTimer::singleShot(0, this, &CCustomBrowserDlg::releaseEndedWindow);
    emit ended();
}
