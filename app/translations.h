#pragma once

class QCoreApplication;

namespace quillo {

// Loads the client's translation and Qt's own (its dialogs' buttons, the file chooser, the print
// dialog) for the user's languages, most preferred first; without one, the texts stay English.
// The translators belong to the application.
void installTranslations(QCoreApplication& application);

} // namespace quillo
