#include "tests/support/e2e_harness.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QSettings>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

namespace {

constexpr int kStartMs = 60000;
constexpr int kReportMs = 15000;
constexpr int kMenuMs = 5000;

bool isEvent(const QJsonObject& report, const QString& event) {
    return report.value(u"page"_s).toString() == u"case_edit"_s &&
           report.value(u"event"_s).toString() == event;
}

// The editing page's main window with its page loaded, and where page coordinates are on screen.
struct Run {
    DemoService service;
    ConfigHome home;
    std::unique_ptr<QuilloProcess> process;
    x11::WindowId window = 0;
    QPoint pageOrigin; // the page's (0, 0) on the screen

    bool start() {
        if (!service.start())
            return false;
        home.writeSettings(u"5"_s, service.baseUrl().toString() + u"/cases/edit?id="_s);
        return restart();
    }
    // Starts the client (again) and waits for the page; the reports start afresh.
    bool restart() {
        if (process && process->isRunning()) {
            x11::requestClose(window);
            if (!process->waitForExit(15000))
                return false;
        }
        service.reset();
        process = std::make_unique<QuilloProcess>(home, service);
        if (!process->start())
            return false;
        if (!waitFor(u"load"_s, kStartMs))
            return false;
        window = x11::findWindowByTitle(u"Quillo"_s, kReportMs).value_or(0);
        return window != 0 && x11::activate(window);
    }
    std::optional<QJsonObject> waitFor(const QString& event, int ms = kReportMs,
                                       const std::function<bool(const QJsonObject&)>& also = {}) const {
        return service.waitForReport(
            [&](const QJsonObject& report) { return isEvent(report, event) && (!also || also(report)); }, ms);
    }
    std::optional<QJsonObject> waitForValue(const QString& event, const QString& value) const {
        return waitFor(event, kReportMs, [&](const QJsonObject& report) {
            return report.value(u"value"_s).toString() == value;
        });
    }
    // Moves the pointer over the page and learns from the page where it is.
    bool locatePage() {
        const QRect area = x11::clientGeometry(window);
        const QPoint at = area.topLeft() + QPoint(area.width() * 3 / 4, area.height() * 3 / 4);
        for (int attempt = 0; attempt < 5; ++attempt) {
            x11::moveMouse(at.x() - 5 + attempt, at.y());
            const auto pointer = waitFor(u"pointer"_s, 2000);
            if (pointer) {
                pageOrigin = at - QPoint(5 - attempt, 0) -
                             QPoint(pointer->value(u"x"_s).toInt(), pointer->value(u"y"_s).toInt());
                return true;
            }
        }
        return false;
    }
    QPoint onScreen(int pageX, int pageY) const { return pageOrigin + QPoint(pageX, pageY); }
    // Right-clicks at a page point; the context menu that opens, and its height.
    std::optional<x11::WindowId> openMenu(QPoint page) {
        const QPoint at = onScreen(page.x(), page.y());
        if (!x11::click(at.x(), at.y(), 3))
            return std::nullopt;
        const auto menu = x11::findPopupWindow(u"quillo"_s, kMenuMs);
        if (menu)
            menuHeight = x11::frameGeometry(*menu).height();
        return menu;
    }
    // Presses keys in an open menu and waits for it to close.
    static bool choose(x11::WindowId menu, const QString& keys) {
        for (const QString& key : keys.split(u' '))
            if (!x11::key(key))
                return false;
        const QDeadlineTimer closed(5000);
        while (x11::isViewable(menu) && !closed.hasExpired())
            QTest::qWait(50);
        return !x11::isViewable(menu);
    }
    bool chooseFromMenu(QPoint page, const QString& keys) {
        const std::optional<x11::WindowId> menu = openMenu(page);
        return menu && choose(*menu, keys);
    }
    // The page's width in CSS pixels, which shrinks as the page is zoomed in.
    std::optional<int> pageWidth() {
        const int id = ++measurements;
        if (!service.pushAction(u"case_edit"_s, u"measure"_s, {id}))
            return std::nullopt;
        const auto measured = waitFor(u"measure"_s, kReportMs, [id](const QJsonObject& report) {
            return report.value(u"id"_s).toInt() == id;
        });
        return measured ? std::optional(measured->value(u"width"_s).toInt()) : std::nullopt;
    }
    int measurements = 0;
    int menuHeight = 0;
};

// Points of the page: in the message box below its first line, on that line's first word, and on
// the text outside any field.
const QPoint kInMessage(300, 110);
const QPoint kOnMessageText(45, 34);
const QPoint kOnPlainText(60, 285);

} // namespace

// Editing in a page's text fields through the client's context menu, spelling suggestions for a
// misspelt word, and zoom by keys and wheel that a restart keeps.
class TestE2eEditing : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void editMenuCopiesAndPastesWithoutLosingTheText();
    void misspeltWordIsMarkedWithSuggestions();
    void zoomKeysAndWheelAndTheLevelAfterARestart();

private:
    std::unique_ptr<x11::WindowManager> m_wm;
};

void TestE2eEditing::initTestCase() {
    m_wm = x11::startWindowManager();
    QVERIFY2(m_wm, "no window manager could be started");
}

void TestE2eEditing::editMenuCopiesAndPastesWithoutLosingTheText() {
    Run run;
    QVERIFY(run.start());
    QUILLO_VERIFY(run.locatePage(), *run.process);
    const int loads = run.service.requestCount(u"/cases/edit"_s);

    // Outside a field, nothing selected: the documented two entries.
    QUILLO_VERIFY(run.chooseFromMenu(kOnPlainText, u"Escape"_s), *run.process);
    const int twoEntries = run.menuHeight;

    const QPoint field = run.onScreen(kInMessage.x(), kInMessage.y());
    QVERIFY(x11::click(field.x(), field.y()));
    QVERIFY(x11::typeText(u"hello operator"_s));
    QUILLO_VERIFY(run.waitForValue(u"message"_s, u"hello operator"_s), *run.process);

    // In the field the menu grows by the editing entries; Select All, Copy, then Paste at the end.
    QUILLO_VERIFY(run.chooseFromMenu(kInMessage, u"a"_s), *run.process);
    QVERIFY2(run.menuHeight > 3 * twoEntries,
             qPrintable(u"menu of %1 px in the field, %2 px outside"_s.arg(run.menuHeight).arg(twoEntries)));
    QUILLO_VERIFY(run.chooseFromMenu(kOnMessageText, u"c"_s), *run.process);
    QVERIFY(x11::key(u"ctrl+End"_s));
    QUILLO_VERIFY(run.chooseFromMenu(kInMessage, u"p"_s), *run.process);
    QUILLO_VERIFY(run.waitForValue(u"message"_s, u"hello operatorhello operator"_s), *run.process);

    // Undo from the menu takes the paste back; the page was never reloaded.
    QUILLO_VERIFY(run.chooseFromMenu(kInMessage, u"u"_s), *run.process);
    QUILLO_VERIFY(run.waitForValue(u"message"_s, u"hello operator"_s), *run.process);
    QCOMPARE(run.service.requestCount(u"/cases/edit"_s), loads);

    // Selected text outside a field can be copied: the menu has one entry more than before.
    const QPoint plain = run.onScreen(kOnPlainText.x(), kOnPlainText.y());
    QVERIFY(x11::clicks(plain.x(), plain.y(), 2, 60)); // a double click selects a word
    QUILLO_VERIFY(run.chooseFromMenu(kOnPlainText, u"Escape"_s), *run.process);
    QVERIFY2(
        run.menuHeight > twoEntries && run.menuHeight < 3 * twoEntries,
        qPrintable(u"menu of %1 px over a selection, %2 px without"_s.arg(run.menuHeight).arg(twoEntries)));
    run.process->kill();
}

void TestE2eEditing::misspeltWordIsMarkedWithSuggestions() {
    // Where the engine of the client under test finds dictionaries: beside it, or in Qt's data.
    const QStringList folders{QFileInfo(quilloBinary()).absolutePath() + u"/qtwebengine_dictionaries"_s,
                              QLibraryInfo::path(QLibraryInfo::DataPath) + u"/qtwebengine_dictionaries"_s};
    if (std::none_of(folders.begin(), folders.end(), [](const QString& folder) {
            return !QDir(folder).entryList({u"*.bdic"_s}, QDir::Files).isEmpty();
        }))
        QSKIP("no spelling dictionary for the client (hunspell-en-us or the engine's converter missing)");
    Run run;
    QVERIFY(run.start());
    QUILLO_VERIFY(run.locatePage(), *run.process);

    const QPoint field = run.onScreen(200, 200);
    QVERIFY(x11::click(field.x(), field.y()));
    QVERIFY(x11::typeText(u"wrold "_s));
    QUILLO_VERIFY(run.waitFor(u"spelling"_s, kReportMs,
                              [](const QJsonObject& report) {
                                  return report.value(u"value"_s).toString().trimmed() == u"wrold"_s;
                              }),
                  *run.process);
    QVERIFY(run.service.pushAction(u"case_edit"_s, u"locateWord"_s));
    const auto word = run.waitFor(u"word"_s);
    QUILLO_VERIFY(word && word->value(u"w"_s).toDouble() > 0, *run.process);
    const QPoint onWord(int(word->value(u"x"_s).toDouble() + word->value(u"w"_s).toDouble() / 2),
                        int(word->value(u"y"_s).toDouble() + word->value(u"h"_s).toDouble() / 2));

    // The field's menu without a misspelt word under the pointer.
    QUILLO_VERIFY(run.chooseFromMenu({400, 200}, u"Escape"_s), *run.process);
    const int plainEditMenu = run.menuHeight;

    // The engine marks the word a moment after it is typed; then the menu over it starts with its
    // suggestions, and the first replaces it.
    bool replaced = false;
    const QDeadlineTimer deadline(kReportMs);
    while (!replaced && !deadline.hasExpired()) {
        const std::optional<x11::WindowId> menu = run.openMenu(onWord);
        QUILLO_VERIFY(menu, *run.process);
        if (run.menuHeight <= plainEditMenu) {
            QVERIFY(Run::choose(*menu, u"Escape"_s));
            QTest::qWait(250);
            continue;
        }
        QVERIFY(Run::choose(*menu, u"Down Return"_s));
        replaced = run.waitFor(u"spelling"_s, kReportMs,
                               [](const QJsonObject& report) {
                                   return report.value(u"value"_s).toString().trimmed() == u"world"_s;
                               })
                       .has_value();
        break;
    }
    QUILLO_VERIFY(replaced, *run.process);
    run.process->kill();
}

void TestE2eEditing::zoomKeysAndWheelAndTheLevelAfterARestart() {
    Run run;
    QVERIFY(run.start());
    QUILLO_VERIFY(run.locatePage(), *run.process);
    const std::optional<int> full = run.pageWidth();
    QUILLO_VERIFY(full && *full > 500, *run.process);
    // The page's width at a zoom factor, within a pixel of rounding.
    const auto widthIs = [&](double factor) {
        const std::optional<int> width = run.pageWidth();
        return width && std::abs(*width - *full / factor) <= 1.5;
    };
    const QPoint field = run.onScreen(kInMessage.x(), kInMessage.y());
    QVERIFY(x11::click(field.x(), field.y()));

    QVERIFY(x11::key(u"ctrl+plus"_s));
    QTRY_VERIFY_WITH_TIMEOUT(widthIs(1.1), kReportMs);
    QVERIFY(x11::key(u"ctrl+equal"_s));
    QTRY_VERIFY_WITH_TIMEOUT(widthIs(1.25), kReportMs);
    QVERIFY(x11::key(u"ctrl+KP_Add"_s));
    QTRY_VERIFY_WITH_TIMEOUT(widthIs(1.5), kReportMs);
    QVERIFY(x11::key(u"ctrl+0"_s));
    QTRY_VERIFY_WITH_TIMEOUT(widthIs(1.0), kReportMs);
    QVERIFY(x11::key(u"ctrl+minus"_s));
    QTRY_VERIFY_WITH_TIMEOUT(widthIs(0.9), kReportMs);
    // Two notches away from the user: two steps up from 90 %.
    QVERIFY(x11::wheel(field.x(), field.y(), 2, u"ctrl"_s));
    QTRY_VERIFY_WITH_TIMEOUT(widthIs(1.1), kReportMs);
    // The page saw none of the zoom keys as typing.
    QVERIFY(!run.waitFor(u"message"_s, 0));

    // The level stays with the site across a restart.
    QVERIFY(run.restart());
    QTRY_VERIFY_WITH_TIMEOUT(widthIs(1.1), kReportMs);
    const QString levels =
        QSettings(run.home.clientSettingsPath(), QSettings::IniFormat).value(u"zoom/levels"_s).toString();
    QVERIFY2(levels.contains(run.service.baseUrl().host()), qPrintable(levels));
    QVERIFY(!readFile(run.home.settingsPath()).contains("zoom"));
    run.process->kill();
}

QTEST_MAIN(TestE2eEditing)
#include "test_e2e_editing.moc"
