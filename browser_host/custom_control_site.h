#pragma once

#include <QObject>

class CCustomOccManager;
class CWebBrowser2;
class QWidget;

// Hosts one browser for a window and gives it the client's behaviour: its own context menu, the
// key filter, no border, and window.external for trusted pages. The container owns the site.
class CCustomControlSite final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CCustomControlSite)

public:
    CCustomControlSite(CCustomOccManager& manager, QWidget* container);
    ~CCustomControlSite() override;

    CWebBrowser2* browser() const { return m_browser; }

private:
    CCustomOccManager& m_manager;
    CWebBrowser2* m_browser = nullptr;
};
