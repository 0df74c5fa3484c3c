#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWebEnginePage>

class QDialog;

namespace quillo::page_services {

class PageServices;

// A page whose script dialogs never block the rest of the client. The engine runs every page on
// the client's one thread and cannot go on while a dialog waits for its answer inside its call,
// so an alert() or confirm() left open in a page's window would freeze the operator's console
// with it. In secondary windows the dialog is shown without waiting, confirm() and prompt() are
// answered as if cancelled, and a page asking again while its box is open gets no second box. The
// main window's page is the operator's own console: its dialogs wait for the answer, as the page
// needs it, but only the console's window is held; the chat popup and every other window stay
// usable, and whoever needs a page meanwhile can tell that the engine waits (EngineWait).
class ScriptDialogPage final : public QWebEnginePage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScriptDialogPage)

public:
    // `services` tells which window is the console's and where files were last chosen; it
    // outlives every page.
    ScriptDialogPage(QWebEngineProfile& profile, PageServices& services, QObject* parent);
    ~ScriptDialogPage() override;

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
    // The page's file chooser: modal to the page's window alone, starting where the operator last
    // chose files, else in the home folder, never in the client's working folder.
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;
    // Also where the engine asks before it hands an address it cannot load to the desktop.
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    // Where the client's script in a trusted page reports a sound that failed.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;

private:
    static QString boxTitle(const QUrl& securityOrigin);
    bool mayWaitForOperator() const;
    QWidget* window() const;
    QMessageBox* messageBox(const QUrl& securityOrigin, const QString& msg,
                            QMessageBox::StandardButtons buttons) const;
    // Whether the page itself stops while its box waits for the answer.
    enum class PageState { Stopped, Running };
    // Shows the box modal to the page's window alone and returns once it is answered or gone.
    void waitForOperator(QDialog& box, PageState page);
    void showWithoutWaiting(const QUrl& securityOrigin, const QString& msg, bool answeredCancel);

    PageServices& m_services;
    QPointer<QMessageBox> m_box;
    QPointer<QDialog> m_waiting;
    int m_notShown = 0;
};

} // namespace quillo::page_services
