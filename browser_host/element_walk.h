#pragma once

#include <QStringList>
#include <functional>

class QWebEnginePage;

namespace quillo {

enum class ElementWalk {
    Scan,   // write the version, collect the order-number texts
    Accept, // give every accept element its text and a click
};

// Walks every element of the page's top-level document in document order, in the client's own
// script world. `done` receives the inner HTML of every order-number element in document order,
// empty ones included; it is not called when the page goes away before the walk ends.
void runElementWalk(QWebEnginePage& page, ElementWalk walk,
                    std::function<void(const QStringList& orderTexts)> done = {});

} // namespace quillo
