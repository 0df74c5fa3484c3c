#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

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

} // namespace quillo::windows
