#pragma once

class QGuiApplication;

namespace quillo {

// Loads the client's translation and Qt's own (its dialogs' buttons, the file chooser, the print
// dialog) for the user's languages, most preferred first; without one, the texts stay English.
// The translators belong to the application. Without the client's own translation the layout stays
// left to right, whatever direction Qt's translation for the language asks.
void installTranslations(QGuiApplication& application);

} // namespace quillo
