#pragma once

#include <QDialog>
#include <QIcon>
#include <QMargins>
#include <QRect>
#include <QString>
#include <optional>

class CCustomControlSite;
class CCustomOccManager;
class CWebBrowser2;

// A secondary browser window that a page opened: an ordinary captioned, sizable top-level window
// whose one browser fills it. Showing it navigates to its address; ending it (close box, its page's
// CB_Close) hides it and lets its browser go, and it stays in its pool slot. Enter and Escape never
// end it.
class CCustomBrowserDlg final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CCustomBrowserDlg)

public:
    explicit CCustomBrowserDlg(CCustomOccManager* siteFactory, QWidget* parent = nullptr);
    ~CCustomBrowserDlg() override;

    // Creates the browser through the site factory, unless the window has one. False when there
    // is no factory; the window then shows nothing and navigates nowhere.
    bool Create();
    // Places the window so that its outer rectangle, frame and caption included, is `outer`. The
    // frame's size is known only once the window manager has framed a window, so a window shown
    // before that is corrected as soon as its frame is known.
    void setOuterGeometry(const QRect& outer);

    void setUrl(const QString& url) { m_strURL = url; }
    const QString& url() const { return m_strURL; }
    // Null while the window is ended.
    CWebBrowser2* browser() const { return m_browser; }
    // True from the window's end until it is shown again.
    bool isEnded() const { return m_ended; }

    void done(int result) override;

    // The frame last measured on any of these windows; all are decorated alike.
    static QMargins knownFrameMargins();

signals:
    // The window was ended and hid itself.
    void ended();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void correctOuterGeometry();
    void releaseEndedWindow();

    CCustomOccManager* const m_siteFactory;
    QString m_strURL;
    QIcon m_icon;
    CCustomControlSite* m_site = nullptr;
    CWebBrowser2* m_browser = nullptr;
    std::optional<QRect> m_pendingOuter;
    int m_placement = 0;
    bool m_ended = false;
};
