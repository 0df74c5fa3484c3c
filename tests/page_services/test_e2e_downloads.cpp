#include "tests/support/e2e_harness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace quillo::e2e;
using namespace Qt::StringLiterals;

// Downloads as the operator meets them in the real client: the question where to save waits in a
// window of its own while the console goes on, and what it saves never replaces anything. The
// client starts in a working directory of its own, as an autostart from the home folder would.
class TestE2eDownloads : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void aChatRequestReachesThePopupWhileTheQuestionIsOpen();
    void aPageDownloadingOverAndOverGetsOneQuestion();
    void savingMovesThePartialFileAndCancellingRemovesIt();
    void aFileStillArrivingMovesWhenItEndsOrGoesWhenItFails();
    void aQuestionGoesWithItsWindow();
    void aLinkToAMissingFileIsATakenName();
    void withoutADownloadFolderTheQuestionStartsInTheCreatedOne();
    void aLongPrintIsPreviewedAndWrittenToTheDownloadFolderMadeForIt();
    // Last: it ends the client.
    void theClientEndingWithQuestionsOpenLeavesNoPartialFile();

private:
    std::optional<QJsonObject> waitForEvent(const QString& event, int ms);
    // A click in the console page, as the operator's own.
    bool operatorClicksPage();
    // The operator's click on a link in the page that downloads name, so the download starts in
    // the click itself, as a real one does; held: the file arrives only when released.
    bool operatorDownloads(const QString& name, bool held = false);
    // The open save question, focused for the keys that answer it.
    std::optional<x11::WindowId> question();
    bool setDownloadFolder(const QString& folder);
    QStringList filesIn(const QString& folder, const QString& prefix) const;
    int downloadRequests() const;
    int logLines(const QString& text) const { return int(m_quillo->output().count(text)); }
    QString downloads() const { return m_home.root() + u"/Downloads"_s; }

    std::unique_ptr<x11::WindowManager> m_wm;
    DemoService m_service;
    ConfigHome m_home;
    QTemporaryDir m_workDir;
    QTemporaryDir m_outside;
    std::unique_ptr<QuilloProcess> m_quillo;
    x11::WindowId m_main = 0;
};

namespace {

const QString kSaveTitle = u"Save download"_s;
const QString kPopupTitle = u"Quillo notification"_s;

QByteArray transcript(const QString& name) {
    return "Transcript " + name.toUtf8() + "\n";
}

} // namespace

void TestE2eDownloads::initTestCase() {
    m_wm = x11::startWindowManager();
    QVERIFY2(m_wm, "no window manager could be started");
    QVERIFY(m_home.isValid() && m_workDir.isValid() && m_outside.isValid());
    QVERIFY(QDir().mkpath(downloads()));
    QVERIFY(setDownloadFolder(downloads()));

    QVERIFY2(m_service.start(), qPrintable(m_service.errorString()));
    m_home.writeSettings(u"12345"_s, m_service.baseUrl().toString() + u"/cases/web?id="_s);
    m_quillo = std::make_unique<QuilloProcess>(m_home, m_service);
    m_quillo->setEnvironmentVariable(u"HOME"_s, m_home.root());
    m_quillo->setWorkingDirectory(m_workDir.path());
    QUILLO_VERIFY(m_quillo->start(), *m_quillo);
    QUILLO_VERIFY(waitForEvent(u"load"_s, 60000), *m_quillo);
    const auto main = x11::findWindowByTitle(u"Quillo"_s, 10000);
    QVERIFY(main);
    m_main = *main;
}

void TestE2eDownloads::cleanupTestCase() {
    if (m_quillo) {
        m_quillo->terminate();
        m_quillo->waitForExit(10000);
    }
}

void TestE2eDownloads::init() {
    QVERIFY(m_service.reset());
    QVERIFY(setDownloadFolder(downloads()));
}

bool TestE2eDownloads::setDownloadFolder(const QString& folder) {
    // The desktop's download folder, which the client reads afresh for each download.
    return QDir().mkpath(m_home.configDir()) && writeFile(m_home.configDir() + u"/user-dirs.dirs"_s,
                                                          "XDG_DOWNLOAD_DIR=\"" + folder.toUtf8() + "\"\n");
}

std::optional<QJsonObject> TestE2eDownloads::waitForEvent(const QString& event, int ms) {
    return m_service.waitForReport(
        [&](const QJsonObject& report) {
            return report.value(u"page"_s).toString() == u"case_web" &&
                   report.value(u"event"_s).toString() == event;
        },
        ms);
}

bool TestE2eDownloads::operatorClicksPage() {
    // Notices of earlier downloads sit over the middle of the window; one may still be mapping.
    const bool noNotices = QTest::qWaitFor(
        [] {
            const QList<x11::WindowId> notices = x11::windowsByTitle(u"Download"_s);
            for (const x11::WindowId notice : notices)
                x11::requestClose(notice);
            return notices.isEmpty();
        },
        10000);
    if (!noNotices)
        return false;
    // xdotool waits for the pointer to move before it clicks, so it must not be there already.
    const QPoint inPage = x11::clientGeometry(m_main).center();
    return x11::moveMouse(inPage.x(), inPage.y() - 40) && x11::click(inPage.x(), inPage.y()) &&
           waitForEvent(u"pressed"_s, 10000);
}

bool TestE2eDownloads::operatorDownloads(const QString& name, bool held) {
    const QString url = u"/download?name="_s + QString::fromLatin1(QUrl::toPercentEncoding(name)) +
                        (held ? u"&held"_s : u""_s);
    if (!m_service.pushAction(u"case_web"_s, u"arm"_s, {u"download"_s, url}))
        return false;
    const auto armed = m_service.waitForReport(
        [&](const QJsonObject& report) {
            return report.value(u"event"_s).toString() == u"armed" &&
                   report.value(u"url"_s).toString() == url;
        },
        20000);
    return armed && operatorClicksPage();
}

std::optional<x11::WindowId> TestE2eDownloads::question() {
    const auto window = x11::findWindowByTitle(kSaveTitle, 20000);
    if (!window || !x11::activate(*window))
        return std::nullopt;
    return window;
}

QStringList TestE2eDownloads::filesIn(const QString& folder, const QString& prefix) const {
    return QDir(folder).entryList({prefix + u'*'}, QDir::Files | QDir::System | QDir::Hidden);
}

int TestE2eDownloads::downloadRequests() const {
    int count = 0;
    for (const QJsonValue request : m_service.requests())
        count += request[u"path"_s].toString() == u"/download" ? 1 : 0;
    return count;
}

void TestE2eDownloads::aChatRequestReachesThePopupWhileTheQuestionIsOpen() {
    QVERIFY(operatorDownloads(u"waiting.txt"_s));
    const auto asked = question();
    QUILLO_VERIFY(asked, *m_quillo);

    QElapsedTimer sinceRequest;
    sinceRequest.start();
    QVERIFY(m_service.pushCommand({{u"page"_s, u"case_web"_s},
                                   {u"call"_s, u"CB_CustomFunctionWithParams"_s},
                                   {u"args"_s, QJsonArray{u"Ann|Hi, are you there?|1 min|Sales"_s, 1}}}));
    const auto popup = x11::findWindowByTitle(kPopupTitle, 5000);
    QUILLO_VERIFY(popup, *m_quillo);
    qInfo("popup %lld ms after the request was queued, with the save question open", sinceRequest.elapsed());
    QVERIFY(x11::isViewable(*asked));
    // Nor did the transfer wait for the answer.
    QTRY_VERIFY2_WITH_TIMEOUT(!filesIn(downloads(), u"waiting.txt.part"_s).isEmpty(),
                              qPrintable(m_quillo->output()), 10000);

    // Declining drops the partial file; the popup is declined too once it has risen.
    QVERIFY(x11::activate(*asked));
    QVERIFY(x11::key(u"Escape"_s));
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(kSaveTitle).isEmpty(), 10000);
    QTRY_VERIFY2_WITH_TIMEOUT(filesIn(downloads(), u"waiting.txt"_s).isEmpty(),
                              qPrintable(filesIn(downloads(), u"waiting.txt"_s).join(u' ')), 10000);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QTRY_COMPARE_WITH_TIMEOUT(x11::clientGeometry(*popup).top(), area.y() + area.height() - 130, 10000);
    const QRect card = x11::clientGeometry(*popup);
    QVERIFY(x11::click(card.left() + 140, card.top() + 100));
    QTRY_VERIFY_WITH_TIMEOUT(!x11::isViewable(*popup), 10000);
}

void TestE2eDownloads::aPageDownloadingOverAndOverGetsOneQuestion() {
    QVERIFY(operatorClicksPage());
    QVERIFY(m_service.pushAction(u"case_web"_s, u"download_every"_s, {u"flood.txt"_s, 300, 20}));
    const auto asked = question();
    QUILLO_VERIFY(asked, *m_quillo);
    // The page goes on while the question is open.
    QTRY_VERIFY_WITH_TIMEOUT(downloadRequests() >= 3, 10000);
    QVERIFY(x11::activate(*asked));
    QVERIFY(x11::key(u"Escape"_s));
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(kSaveTitle).isEmpty(), 10000);
    const int beforeEscape = downloadRequests();

    // No question comes back while the page keeps downloading.
    QElapsedTimer afterEscape;
    afterEscape.start();
    while (afterEscape.elapsed() < 3000) {
        QVERIFY2(x11::windowsByTitle(kSaveTitle).isEmpty(),
                 qPrintable(u"a question came back %1 ms after Escape"_s.arg(afterEscape.elapsed())));
        QTest::qWait(100);
    }
    QVERIFY2(downloadRequests() >= beforeEscape + 3, qPrintable(QString::number(downloadRequests())));
    QUILLO_VERIFY(waitForEvent(u"downloads_done"_s, 20000), *m_quillo);
    QVERIFY(x11::windowsByTitle(kSaveTitle).isEmpty());
    QUILLO_VERIFY(logLines(u"refused: the operator has not yet answered"_s) == 1, *m_quillo);
    QUILLO_VERIFY(logLines(u"refused: the operator declined"_s) == 1, *m_quillo);
    QVERIFY(filesIn(downloads(), u"flood"_s).isEmpty());

    // The operator's own download from the page is asked again.
    QVERIFY(operatorDownloads(u"mine.txt"_s));
    QUILLO_VERIFY(question(), *m_quillo);
    QVERIFY(x11::key(u"Return"_s));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(downloads() + u"/mine.txt"_s), transcript(u"mine.txt"_s), 20000);
    // The refusals meanwhile were counted in one line.
    QUILLO_VERIFY(logLines(u"further downloads of the same page refused"_s) >= 1, *m_quillo);
}

void TestE2eDownloads::savingMovesThePartialFileAndCancellingRemovesIt() {
    QVERIFY(operatorDownloads(u"offered.txt"_s));
    QUILLO_VERIFY(question(), *m_quillo);
    QTRY_VERIFY2_WITH_TIMEOUT(QFile::exists(downloads() + u"/offered.txt.part"_s),
                              qPrintable(m_quillo->output()), 10000);
    // The operator's own name for it.
    QVERIFY(x11::key(u"ctrl+a"_s));
    QVERIFY(x11::typeText(u"chosen.txt"_s));
    QVERIFY(x11::key(u"Return"_s));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(downloads() + u"/chosen.txt"_s), transcript(u"offered.txt"_s), 20000);
    QCOMPARE(filesIn(downloads(), u"offered"_s), QStringList());

    // Cancelled while the file is still arriving: the engine's file goes too.
    QVERIFY(operatorDownloads(u"dropped.txt"_s, true));
    QUILLO_VERIFY(question(), *m_quillo);
    QTRY_VERIFY_WITH_TIMEOUT(!filesIn(downloads(), u"dropped.txt.part"_s).isEmpty(), 10000);
    QVERIFY(x11::key(u"Escape"_s));
    QTRY_COMPARE_WITH_TIMEOUT(filesIn(downloads(), u"dropped"_s), QStringList(), 10000);
}

void TestE2eDownloads::aFileStillArrivingMovesWhenItEndsOrGoesWhenItFails() {
    QVERIFY(operatorDownloads(u"slow.txt"_s, true));
    QUILLO_VERIFY(question(), *m_quillo);
    QTRY_VERIFY_WITH_TIMEOUT(!filesIn(downloads(), u"slow.txt.part"_s).isEmpty(), 10000);
    QVERIFY(x11::key(u"Return"_s));
    QUILLO_VERIFY(x11::findWindowByTitle(u"Download"_s, 10000), *m_quillo);
    QVERIFY(!QFileInfo::exists(downloads() + u"/slow.txt"_s));
    QVERIFY(m_service.releaseDownloads(false));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(downloads() + u"/slow.txt"_s), transcript(u"slow.txt"_s), 20000);
    QCOMPARE(filesIn(downloads(), u"slow.txt."_s), QStringList());

    // The connection breaks while the operator is asked: nothing is left to answer for.
    QVERIFY(operatorDownloads(u"broken.txt"_s, true));
    QUILLO_VERIFY(question(), *m_quillo);
    QTRY_VERIFY_WITH_TIMEOUT(!filesIn(downloads(), u"broken.txt.part"_s).isEmpty(), 10000);
    QVERIFY(m_service.releaseDownloads(true));
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(kSaveTitle).isEmpty(), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(filesIn(downloads(), u"broken"_s), QStringList(), 10000);
    QUILLO_VERIFY(logLines(u"broken.txt&held\" did not arrive"_s) == 1, *m_quillo);
}

void TestE2eDownloads::aQuestionGoesWithItsWindow() {
    // A secondary window whose page starts a download as it loads; the operator closes the window.
    const QString page = m_service.baseUrl().toString() + u"/cases/web?nopoll&download=orphan.txt"_s;
    QVERIFY(m_service.pushCommand({{u"page"_s, u"case_web"_s},
                                   {u"call"_s, u"CB_OpenWindow"_s},
                                   {u"args"_s, QJsonArray{page, 50, 50, 500, 400, 0}}}));
    QUILLO_VERIFY(x11::findWindowByTitle(kSaveTitle, 20000), *m_quillo);
    QTRY_VERIFY_WITH_TIMEOUT(!filesIn(downloads(), u"orphan.txt.part"_s).isEmpty(), 10000);
    const auto window = x11::findWindowByTitle(u"Custom Browser - Window"_s, 10000);
    QVERIFY(window);
    QVERIFY(x11::requestClose(*window));
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(kSaveTitle).isEmpty(), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(filesIn(downloads(), u"orphan"_s), QStringList(), 10000);
    QUILLO_VERIFY(logLines(u"orphan.txt\" dropped"_s) == 1, *m_quillo);
    QUILLO_VERIFY(m_quillo->isRunning(), *m_quillo);
}

void TestE2eDownloads::aLinkToAMissingFileIsATakenName() {
    // A link in the download folder to a file that does not exist, in a folder that does.
    const QString target = m_outside.path() + u"/report target.txt"_s;
    const QString link = downloads() + u"/report.txt"_s;
    QVERIFY(QFile::link(target, link));

    QVERIFY(operatorDownloads(u"report.txt"_s));
    QUILLO_VERIFY(question(), *m_quillo);
    QVERIFY(x11::key(u"Return"_s));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(downloads() + u"/report (1).txt"_s), transcript(u"report.txt"_s),
                              20000);
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    QVERIFY(!QFileInfo::exists(target));

    // A link that appears while the question is open is not replaced or written through either.
    const QString lateTarget = m_outside.path() + u"/late target.txt"_s;
    const QString lateLink = downloads() + u"/late.txt"_s;
    QVERIFY(operatorDownloads(u"late.txt"_s));
    QUILLO_VERIFY(question(), *m_quillo);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(downloads() + u"/late.txt.part"_s), 10000);
    QVERIFY(QFile::link(lateTarget, lateLink));
    QVERIFY(x11::key(u"Return"_s));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(downloads() + u"/late (1).txt"_s), transcript(u"late.txt"_s), 20000);
    QCOMPARE(QFileInfo(lateLink).symLinkTarget(), lateTarget);
    QVERIFY(!QFileInfo::exists(lateTarget));
    QCOMPARE(QDir(m_outside.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void TestE2eDownloads::withoutADownloadFolderTheQuestionStartsInTheCreatedOne() {
    // A new account: the desktop names a download folder that does not exist yet.
    const QString fresh = m_home.root() + u"/new account/Downloads"_s;
    QVERIFY(setDownloadFolder(fresh));

    QVERIFY(operatorDownloads(u"first.txt"_s));
    QUILLO_VERIFY(question(), *m_quillo);
    // Enter takes the place the question starts in.
    QVERIFY(x11::key(u"Return"_s));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(fresh + u"/first.txt"_s), transcript(u"first.txt"_s), 20000);
    QCOMPARE(QDir(m_workDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QUILLO_VERIFY(logLines(u"was missing and has been created"_s) == 1, *m_quillo);
}

void TestE2eDownloads::aLongPrintIsPreviewedAndWrittenToTheDownloadFolderMadeForIt() {
    // No printer and a new account: the file is offered in a download folder not yet made.
    const QString fresh = m_home.root() + u"/printing account/Downloads"_s;
    QVERIFY(setDownloadFolder(fresh));
    QVERIFY(m_service.pushAction(u"case_web"_s, u"print"_s, {120, 24}));
    const auto preview = x11::findWindowByTitle(u"Print preview"_s, 30000);
    QUILLO_VERIFY(preview, *m_quillo);
    QUILLO_VERIFY(logLines(u"print preview of 120 pages shown"_s) == 1, *m_quillo);
    // Enter takes the preview's Print... and then the print dialog's offered file.
    QVERIFY(x11::activate(*preview));
    QVERIFY(x11::key(u"Return"_s));
    const auto dialog = x11::findWindowByTitle(u"Print"_s, 10000);
    QUILLO_VERIFY(dialog, *m_quillo);
    QVERIFY(x11::activate(*dialog));
    QVERIFY(x11::key(u"Return"_s));
    const QString file = fresh + u"/Tarnwick Live Chat - Web.pdf"_s;
    QTRY_VERIFY2_WITH_TIMEOUT(m_quillo->output().contains(u"printed to "_s + file),
                              qPrintable(m_quillo->output()), 60000);
    QProcess info;
    info.start(u"pdfinfo"_s, {file});
    QVERIFY(info.waitForFinished(20000));
    QVERIFY2(
        QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression(u"\\nPages: +120\\n"_s)),
        qPrintable(file));
    QTRY_VERIFY_WITH_TIMEOUT(x11::windowsByTitle(u"Print preview"_s).isEmpty(), 10000);
}

void TestE2eDownloads::theClientEndingWithQuestionsOpenLeavesNoPartialFile() {
    // One download whole and waiting for the answer, one still arriving in a window of its own.
    QVERIFY(operatorDownloads(u"ending.txt"_s));
    QUILLO_VERIFY(question(), *m_quillo);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(downloads() + u"/ending.txt.part"_s), 10000);
    const QString page = m_service.baseUrl().toString() + u"/cases/web?nopoll&download=arriving.txt"_s;
    QVERIFY(m_service.pushCommand({{u"page"_s, u"case_web"_s},
                                   {u"call"_s, u"CB_OpenWindow"_s},
                                   {u"args"_s, QJsonArray{page, 50, 50, 500, 400, 0}}}));
    QTRY_VERIFY_WITH_TIMEOUT(!filesIn(downloads(), u"arriving.txt.part"_s).isEmpty(), 20000);
    m_quillo->terminate();
    QUILLO_VERIFY(m_quillo->waitForExit(20000), *m_quillo);
    QCOMPARE(filesIn(downloads(), u"ending"_s) + filesIn(downloads(), u"arriving"_s), QStringList());
}

QTEST_MAIN(TestE2eDownloads)
#include "test_e2e_downloads.moc"
