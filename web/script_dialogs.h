#pragma once

#include <QPointer>
#include <QWebEnginePage>

class QMessageBox;

namespace quillo::web {

// A page whose script dialogs in secondary windows never wait for the operator. The engine runs
// every page on the client's one thread and cannot go on while a dialog waits for its answer, so
// an alert() or confirm() left open in a page's window would freeze the operator's console with
// it. There the dialog is shown without waiting, confirm() and prompt() are answered as if
// cancelled, and a page asking again while its box is open gets no second box. The main window's
// page is the operator's own console and keeps the usual dialogs that wait.
class ScriptDialogPage final : public QWebEnginePage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScriptDialogPage)

public:
    ScriptDialogPage(QWebEngineProfile* profile, QObject* parent);
    ~ScriptDialogPage() override;

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
    // Also where the engine asks before it hands an address it cannot load to the desktop.
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    bool mayWaitForOperator() const;
    void showWithoutWaiting(const QUrl& securityOrigin, const QString& msg, bool answeredCancel);

    QPointer<QMessageBox> m_box;
    int m_notShown = 0;
};

} // namespace quillo::web
