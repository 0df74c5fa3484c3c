#include "app/lock_question.h"

#include <QMessageBox>
#include <QPushButton>

namespace quillo {
namespace {

QString holderText(const std::optional<LockOwner>& owner, const QString& thisHost) {
    if (!owner)
        return QMessageBox::tr("Another copy of Quillo seems to be using your chat profile, but its lock "
                               "cannot be read.");
    const QString host = QString::fromStdString(owner->hostName);
    const QString process = QMessageBox::tr("process %1, %2")
                                .arg(owner->pid)
                                .arg(QString::fromStdString(owner->appName).toHtmlEscaped());
    if (host.isEmpty() || host == thisHost)
        return QMessageBox::tr("Quillo is already running on this computer (%1) but does not answer.")
            .arg(process);
    return QMessageBox::tr("Quillo is already running on the computer <b>%1</b> (%2) with your chat profile, "
                           "or it ended there without closing properly.")
        .arg(host.toHtmlEscaped(), process);
}

} // namespace

bool askToStartAnyway(const std::optional<LockOwner>& owner, const QString& thisHost) {
    QMessageBox box(QMessageBox::Warning, QMessageBox::tr("Quillo is in use"), holderText(owner, thisHost));
    box.setTextFormat(Qt::RichText);
    box.setInformativeText(
        QMessageBox::tr("Two copies at once can overwrite each other's log-in and settings. "
                        "If Quillo is not running there any more, you can start it here "
                        "anyway."));
    QPushButton* start = box.addButton(QMessageBox::tr("&Start anyway"), QMessageBox::AcceptRole);
    QPushButton* quit = box.addButton(QMessageBox::tr("&Quit"), QMessageBox::RejectRole);
    // The safe answer is the one Enter and Escape give.
    box.setDefaultButton(quit);
    box.setEscapeButton(quit);
    box.exec();
    return box.clickedButton() == start;
}

} // namespace quillo
