// A small Qt program for the alert harness's own test to observe, so the harness is proven on
// something simpler than the client:
//   alert_harness_subject tray    a red tray icon; prints "tray available" or "tray missing"
//   alert_harness_subject widgets a window with a named button, then after a second a frameless
//                                 tool window, as the client's popup is

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(u"alert-harness-subject"_s);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    if (mode == u"tray") {
        QPixmap red(22, 22);
        red.fill(Qt::red);
        QSystemTrayIcon tray{QIcon(red)};
        tray.setToolTip(u"subject"_s);
        std::printf("tray %s\n", QSystemTrayIcon::isSystemTrayAvailable() ? "available" : "missing");
        std::fflush(stdout);
        tray.show();
        return app.exec();
    }
    if (mode == u"widgets") {
        QWidget window;
        window.setWindowTitle(u"Harness subject"_s);
        auto* layout = new QVBoxLayout(&window);
        auto* close = new QPushButton(u"X"_s, &window);
        close->setAccessibleName(u"Close"_s);
        close->setAccessibleDescription(u"Ends the subject"_s);
        layout->addWidget(close);
        window.show();
        auto popup = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        popup->setAccessibleName(u"Popup"_s);
        popup->setAccessibleDescription(u"Shown a second after the start"_s);
        popup->resize(193, 130);
        QTimer::singleShot(1000, popup.get(), [&popup] { popup->show(); });
        return app.exec();
    }
    std::fprintf(stderr, "usage: alert_harness_subject tray|widgets\n");
    return 2;
}
