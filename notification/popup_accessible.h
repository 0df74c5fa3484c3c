#pragma once

#include <QWidget>

namespace quillo::notify {

// The accept button drawn into the popup's picture, as assistive technology sees it: a button over
// the accept zone whose press accepts. Clicks go through it to the popup, which tells a click in the
// zone from one beside it.
class AcceptArea final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AcceptArea)

public:
    explicit AcceptArea(QWidget* parent);
    ~AcceptArea() override;

signals:
    // Assistive technology pressed the button.
    void pressed();
};

// Gives the chat popup the alert role, so that its showing is announced, and its accept area the
// button role; installed once per process.
void installPopupAccessibility();

} // namespace quillo::notify
