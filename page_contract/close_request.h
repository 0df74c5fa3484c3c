#pragma once

namespace quillo {

// Which of the client's windows holds the page that calls CB_Close.
enum class CloseCaller {
    MainWindow,
    // A pool window or a window that one of the chat service's pages opened for itself.
    SecondaryWindow,
};

// Where the operator is when the call comes, seen from the caller's window.
enum class OperatorPlace {
    // The caller's own window is the active window.
    CallersWindow,
    // A box of the caller's window (a question, a file chooser) is: the operator is answering it.
    BoxOfCallersWindow,
    // Another window, of the client's or not, or none.
    Elsewhere,
};

enum class CloseAction {
    EndClient,
    EndCallersWindow,
    Refuse,
};

// CB_Close ends the calling page's own window and never another one: a page's timer must not end
// whichever window the operator happens to be in, the main window least of all. The console's page
// ends the client only while the operator is in the main window itself, and no page ends a window
// whose box the operator is answering.
CloseAction closeActionFor(CloseCaller caller, OperatorPlace place);

} // namespace quillo
