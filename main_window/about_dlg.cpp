#include "main_window/about_dlg.h"

#include "resources/dialog_templates.h"
#include "resources/resource_loader.h"
#include "resources/resource_strings.h"
#include "resources/version_info.h"

#include <QLabel>
#include <QPushButton>

using namespace quillo;

namespace {
void place(QWidget* widget, res::DialogUnits units) {
    const quillo::Rect r = res::toPixels(units);
    widget->setGeometry(r.x, r.y, r.width, r.height);
}
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(res::kAboutTitle));
    const quillo::Rect size = res::toPixels(res::kAboutDialog);
    setFixedSize(size.width, size.height);

    auto* icon = new QLabel(this);
    icon->setPixmap(res::loadAppIcon().pixmap(32, 32));
    place(icon, res::kAboutIcon);
    auto* version = new QLabel(QString::fromLatin1(res::kAboutVersionText), this);
    version->setTextFormat(Qt::PlainText);
    place(version, res::kAboutVersion);
    auto* legal = new QLabel(QString::fromLatin1(res::kLegalNotice), this);
    place(legal, res::kAboutLegal);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    place(ok, res::kAboutOk);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

CAboutDlg::~CAboutDlg() = default;
