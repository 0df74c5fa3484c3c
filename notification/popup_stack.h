#pragma once

#include <QObject>

namespace quillo::notify {

// The bottom-right corner that the slide-up cards share. The chat request popup sits on the work
// area's bottom edge; a page's notification card rises on top of whatever the popup shows, and
// moves up when a popup rises under it, so a card never covers the popup's accept button.
class PopupStack final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PopupStack)

public:
    explicit PopupStack(QObject* parent = nullptr);
    ~PopupStack() override;

    // How high the chat popup shows above the bottom edge now, 0 while it is hidden.
    int chatPopupHeight() const { return m_chatPopupHeight; }
    void setChatPopupHeight(int height);

signals:
    void chatPopupHeightChanged(int height);

private:
    int m_chatPopupHeight = 0;
};

} // namespace quillo::notify
