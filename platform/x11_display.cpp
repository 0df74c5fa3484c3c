#include "platform/x11_display.h"

#include <QGuiApplication>

namespace quillo {

Display* x11Display() {
    auto* x11 = qGuiApp && QGuiApplication::platformName() == QLatin1String("xcb")
                    ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                    : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace quillo
