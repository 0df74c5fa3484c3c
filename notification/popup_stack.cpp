#include "notification/popup_stack.h"

namespace quillo::notify {

PopupStack::PopupStack(QObject* parent)
    : QObject(parent) {}

PopupStack::~PopupStack() = default;

void PopupStack::setChatPopupHeight(int height) {
    if (height == m_chatPopupHeight)
        return;
    m_chatPopupHeight = height;
    emit chatPopupHeightChanged(height);
}

} // namespace quillo::notify
