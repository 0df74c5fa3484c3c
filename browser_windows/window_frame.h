#pragma once

#include <QLoggingCategory>
#include <QMargins>
#include <QRect>
#include <QSize>

class CWebBrowser2;
class QKeyEvent;
class QWidget;

// What the client's windows did with the operator's keys and their frames, for support.
Q_DECLARE_LOGGING_CATEGORY(lcWindowKeys)

namespace quillo::windows {

// Pages and the pool place a window by its outer rectangle, frame included, while Qt sizes a window
// by its content; the window manager's frame is known only once a decorated window shows.

// The frame around a shown window: null where there is none (yet).
QMargins frameMarginsOf(const QWidget& window);
// The content size that gives a window of that frame the outer rectangle outer; never empty.
QSize contentSizeFor(const QRect& outer, const QMargins& frame);
// The frame last measured on any of the client's browser windows, which are all decorated alike;
// null until one has shown.
QMargins knownFrameMargins();
void noteFrameMargins(const QMargins& frame);

// After the frame had the mouse (a drag, a caption button, the window menu, a resize) the keyboard
// goes back to the page, as a browser's does after a title-bar drag. Nothing while the window is
// not active or its page has the keyboard.
void keyboardBackToPage(QWidget& window, CWebBrowser2* browser);
// Enter and Escape that reached a window itself rather than its page end nothing: they are the
// operator's keys for pages and boxes, and a frame that holds the keyboard must not cost a chat.
// True for those keys, logged once per press; the keyboard then goes back to the page.
bool holdEndKey(const QKeyEvent& event, QWidget& window, CWebBrowser2* browser);

} // namespace quillo::windows
