#include "main_window/chat_main_dlg.h"

#include "browser_host/web_browser2.h"
#include "main_window/skin_layout.h"
#include "resources/dialog_templates.h"
#include "resources/qt_rgb.h"
#include "resources/resource_ids.h"
#include "resources/resource_loader.h"
#include "resources/resource_strings.h"
#include "skin_controls/color_label.h"
#include "skin_controls/cursor_source.h"
#include "skin_controls/hover_bitmap_button.h"
#include "skin_controls/link_label.h"
#include "skin_controls/skin_colors.h"

#include <QLabel>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWindow>
#include <algorithm>

// The skinned frame: bitmap pieces, caption buttons and labels around the browser, and the
// frame's own moving and sizing.

using namespace quillo;

namespace {

// The logo overlaps the top-left corner's last column; neither is ever moved by the layout.
constexpr QPoint kTopLeftPos{0, 0};
constexpr QPoint kLogoPos{9, 0};

struct CaptionButton {
    int normal;
    int hover;
};
constexpr CaptionButton kCloseBitmaps{res::IDB_CLOSE, res::IDB_CLOSE_HOVER};
constexpr CaptionButton kMaximizeBitmaps{res::IDB_MAXIMIZE, res::IDB_MAXIMIZE_HOVER};
constexpr CaptionButton kMinimizeBitmaps{res::IDB_MINIMIZE, res::IDB_MINIMIZE_HOVER};

// A piece shows its whole bitmap scaled to its rectangle and starts at the bitmap's size. It takes
// no mouse input, so the frame's hit test applies over it.
QLabel* makePiece(QWidget* parent, const QString& name, int bitmapId, QPoint pos = {}) {
    auto* piece = new QLabel(parent);
    piece->setObjectName(name);
    const QPixmap bitmap = res::loadBitmap(bitmapId);
    piece->setPixmap(bitmap);
    piece->setScaledContents(true);
    piece->setAttribute(Qt::WA_TransparentForMouseEvents);
    piece->setGeometry(QRect(pos, bitmap.size()));
    return piece;
}

CHoverBitmapButton* makeCaptionButton(QWidget* parent, const QString& name, const QString& accessibleName) {
    auto* button = new CHoverBitmapButton(parent);
    button->setObjectName(name);
    // The bitmap says what the button does to the eye only.
    button->setAccessibleName(accessibleName);
    button->resize(kCaptionButtonSize, kCaptionButtonSize);
    return button;
}

QRect templateRect(res::DialogUnits units) {
    const quillo::Rect r = res::toPixels(units);
    return {r.x, r.y, r.width, r.height};
}

Qt::Edges edgesOf(HitCode code) {
    switch (code) {
    case HitCode::Left:
        return Qt::LeftEdge;
    case HitCode::Right:
        return Qt::RightEdge;
    case HitCode::Top:
        return Qt::TopEdge;
    case HitCode::Bottom:
        return Qt::BottomEdge;
    case HitCode::TopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case HitCode::TopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case HitCode::BottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case HitCode::BottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    case HitCode::Caption:
        break;
    }
    return {};
}

Qt::CursorShape cursorOf(HitCode code) {
    switch (code) {
    case HitCode::Left:
    case HitCode::Right:
        return Qt::SizeHorCursor;
    case HitCode::Top:
    case HitCode::Bottom:
        return Qt::SizeVerCursor;
    case HitCode::TopLeft:
    case HitCode::BottomRight:
        return Qt::SizeFDiagCursor;
    case HitCode::TopRight:
    case HitCode::BottomLeft:
        return Qt::SizeBDiagCursor;
    case HitCode::Caption:
        break;
    }
    return Qt::ArrowCursor;
}

// The event's own position in the window, never one mapped through the window's stored position.
HitCode hitTestAt(const QWidget& window, const QMouseEvent& event) {
    const QPoint point = event.position().toPoint();
    return hitTest({point.x(), point.y()}, {window.width(), window.height()});
}

// The geometry a sizing drag gives, never smaller than one pixel each way.
QRect resizedGeometry(QRect start, Qt::Edges edges, QPoint delta, QSize minimum) {
    const int minWidth = std::max(1, minimum.width());
    const int minHeight = std::max(1, minimum.height());
    if (edges & Qt::LeftEdge)
        start.setLeft(std::min(start.left() + delta.x(), start.right() + 1 - minWidth));
    if (edges & Qt::RightEdge)
        start.setRight(std::max(start.right() + delta.x(), start.left() + minWidth - 1));
    if (edges & Qt::TopEdge)
        start.setTop(std::min(start.top() + delta.y(), start.bottom() + 1 - minHeight));
    if (edges & Qt::BottomEdge)
        start.setBottom(std::max(start.bottom() + delta.y(), start.top() + minHeight - 1));
    return start;
}

} // namespace

void CChatMainDlg::createSkinControls() {
    if (m_topBar != nullptr)
        return;
    // In the template's order, which is also the initial stacking order; the browser came first.
    m_topLeft = makePiece(this, QStringLiteral("topLeft"), res::IDB_TOP_LEFT, kTopLeftPos);
    m_topLogo = makePiece(this, QStringLiteral("topLogo"), res::IDB_TOP_LOGO, kLogoPos);
    m_topBar = makePiece(this, QStringLiteral("topBar"), res::IDB_TOP_BAR);
    m_btnClose = makeCaptionButton(this, QStringLiteral("btnClose"), tr("Close"));
    m_btnMaximize = makeCaptionButton(this, QStringLiteral("btnMaximize"), tr("Maximize"));
    m_btnMinimize = makeCaptionButton(this, QStringLiteral("btnMinimize"), tr("Minimize"));
    m_leftEdge = makePiece(this, QStringLiteral("leftEdge"), res::IDB_LEFT_EDGE);
    m_rightEdge = makePiece(this, QStringLiteral("rightEdge"), res::IDB_RIGHT_EDGE);
    m_bottomLeft = makePiece(this, QStringLiteral("bottomLeft"), res::IDB_BOTTOM_LEFT);
    m_bottomRight = makePiece(this, QStringLiteral("bottomRight"), res::IDB_BOTTOM_RIGHT);
    m_topRight = makePiece(this, QStringLiteral("topRight"), res::IDB_TOP_RIGHT);

    m_linkLabel = new CLinkLabel(QString::fromLatin1(res::kLinkLabelText), this);
    m_linkLabel->setObjectName(QStringLiteral("linkLabel"));
    m_linkLabel->setGeometry(templateRect(res::kMainLinkLabel));
    // Left-aligned and vertically centred on its rectangle.
    m_linkLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_linkLabel->PreSubclassWindow();

    m_versionLabel = new CColorLabel(QString::fromLatin1(res::kVersionLabelText), this);
    m_versionLabel->setObjectName(QStringLiteral("versionLabel"));
    m_versionLabel->setGeometry(templateRect(res::kMainVersionLabel));
    // Plain text: a press on it moves the window like the frame around it.
    m_versionLabel->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_bottomBar = makePiece(this, QStringLiteral("bottomBar"), res::IDB_BOTTOM_BAR);

    m_linkLabel->SetLinkUrl(QStringLiteral("http://") + QString::fromLatin1(QUILLO_MAKER_HOST));
    m_versionLabel->SetBackColor(toQColor(kSkinBackColor));
    m_versionLabel->SetForeColor(toQColor(kVersionTextColor));
    m_versionLabel->setFont(QFont(QStringLiteral("Arial"), 12));

    const std::pair<CHoverBitmapButton*, CaptionButton> buttons[] = {
        {m_btnClose, kCloseBitmaps}, {m_btnMaximize, kMaximizeBitmaps}, {m_btnMinimize, kMinimizeBitmaps}};
    for (const auto& [button, bitmaps] : buttons) {
        button->LoadBitmaps(unsigned(bitmaps.normal));
        button->SetBitmapIds(unsigned(bitmaps.normal), unsigned(bitmaps.hover));
    }
    connect(m_btnClose, &QAbstractButton::clicked, this, &CChatMainDlg::OnCancel);
    connect(m_btnMaximize, &QAbstractButton::clicked, this, &CChatMainDlg::ToggleMaximize);
    connect(m_btnMinimize, &QAbstractButton::clicked, this, &CChatMainDlg::MinimizeWindow);

    // The frame shows the sizing cursors, so it must hear moves without a pressed button.
    setMouseTracking(true);
}

void CChatMainDlg::LayoutSkin() {
    // A resize can come before the frame exists; it then only resizes.
    if (m_topBar == nullptr)
        return;
    const SkinPieceSizes pieces{m_topLeft->width(),  m_topLeft->height(),   m_topLogo->width(),
                                m_topRight->width(), m_bottomLeft->width(), m_bottomRight->width()};
    const auto widgetOf = [this](SkinControl control) -> QWidget* {
        switch (control) {
        case SkinControl::TopBar:
            return m_topBar;
        case SkinControl::CloseButton:
            return m_btnClose;
        case SkinControl::MaximizeButton:
            return m_btnMaximize;
        case SkinControl::MinimizeButton:
            return m_btnMinimize;
        case SkinControl::TopRight:
            return m_topRight;
        case SkinControl::BottomLeft:
            return m_bottomLeft;
        case SkinControl::BottomRight:
            return m_bottomRight;
        case SkinControl::BottomBar:
            return m_bottomBar;
        case SkinControl::LeftEdge:
            return m_leftEdge;
        case SkinControl::RightEdge:
            return m_rightEdge;
        case SkinControl::Browser:
            return m_browser;
        case SkinControl::LinkLabel:
            return m_linkLabel;
        case SkinControl::VersionLabel:
            return m_versionLabel;
        }
        return nullptr;
    };

    for (SkinPlacement placement : quillo::LayoutSkin(width(), height(), pieces)) {
        // The label's place was measured for the original font; the text in ours is wider.
        if (placement.control == SkinControl::VersionLabel)
            placement = quillo::fitLabelToText(
                placement, m_versionLabel->fontMetrics().horizontalAdvance(m_versionLabel->text()));
        QWidget* widget = widgetOf(placement.control);
        if (widget == nullptr)
            continue;
        widget->setGeometry(placement.x, placement.y, std::max(0, placement.width),
                            std::max(0, placement.height));
        if (placement.order == SkinOrder::Raise)
            widget->raise();
    }
    // Raising the bars put them on top; the buttons and labels that lie on them go back above.
    for (QWidget* widget : {static_cast<QWidget*>(m_linkLabel), static_cast<QWidget*>(m_versionLabel),
                            static_cast<QWidget*>(m_btnClose), static_cast<QWidget*>(m_btnMaximize),
                            static_cast<QWidget*>(m_btnMinimize)}) {
        widget->raise();
        widget->update();
    }
}

void CChatMainDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutSkin();
}

void CChatMainDlg::mousePressEvent(QMouseEvent* event) {
    // A maximised window keeps its place and size, as a maximised window does.
    if (event->button() != Qt::LeftButton || isMaximized()) {
        QDialog::mousePressEvent(event);
        return;
    }
    const QPoint global = event->globalPosition().toPoint();
    const HitCode code = hitTestAt(*this, *event);
    // The window manager starts its move or resize from where Qt believes the window to be; bring
    // that belief in line with where the window really is first.
    if (const QPoint origin = screenOriginOf(*event); mapToGlobal(QPoint(0, 0)) != origin)
        move(pos() + origin - mapToGlobal(QPoint(0, 0)));
    bool started = false;
    if (QWindow* window = windowHandle())
        started = isSizingCode(code) ? window->startSystemResize(edgesOf(code)) : window->startSystemMove();
    // Without the window manager's help the frame follows the pointer itself.
    if (!started)
        m_frameDrag = FrameDrag{code, global, QRect(screenOriginOf(*event), size())};
    event->accept();
}

void CChatMainDlg::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (m_frameDrag && (event->buttons() & Qt::LeftButton)) {
        const QPoint delta = global - m_frameDrag->pressGlobal;
        if (isSizingCode(m_frameDrag->code))
            setGeometry(resizedGeometry(m_frameDrag->startGeometry, edgesOf(m_frameDrag->code), delta,
                                        minimumSize()));
        else
            move(m_frameDrag->startGeometry.topLeft() + delta);
        event->accept();
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        const Qt::CursorShape shape = isMaximized() ? Qt::ArrowCursor : cursorOf(hitTestAt(*this, *event));
        if (cursor().shape() != shape)
            setCursor(shape);
    }
    QDialog::mouseMoveEvent(event);
}

void CChatMainDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_frameDrag.reset();
    QDialog::mouseReleaseEvent(event);
    keyboardBackToPage();
}
