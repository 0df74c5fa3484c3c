#include "app/translations.h"

#include <QGuiApplication>
#include <QTest>

using namespace Qt::StringLiterals;

// The client carries no Arabic translation (this program carries none at all), while Qt's own
// Arabic one, installed beside Qt, asks for right to left.
class TestTranslations final : public QObject {
    Q_OBJECT

private slots:
    void aRightToLeftLanguageWithoutTheClientsTranslationStaysLeftToRight() {
        quillo::installTranslations(*qGuiApp);
        // The translators' language change arrives as an event.
        QCoreApplication::processEvents();
        QCOMPARE(QCoreApplication::translate("QGuiApplication", "QT_LAYOUT_DIRECTION"), u"RTL"_s);
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    }
};

int main(int argc, char** argv) {
    // Read once, when the application starts.
    qputenv("LANG", "ar_EG.UTF-8");
    qputenv("LC_ALL", "ar_EG.UTF-8");
    qputenv("LANGUAGE", "ar");
    QGuiApplication application(argc, argv);
    TestTranslations test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_translations.moc"
