#pragma once

class QWidget;

namespace quillo::page_services {

// Makes `box` modal to `window` alone: while the box is open the window takes no input from the
// operator, and a click on it brings the box forward. Qt's own window modality would block every
// window that the blocked one owns too (the secondary browser windows and their boxes), and
// application modality every window of the client, the chat popup's accept button among them.
// The box is shown non-modal; the block lives as long as the box.
void makeModalToWindowOnly(QWidget& box, QWidget& window);

} // namespace quillo::page_services
