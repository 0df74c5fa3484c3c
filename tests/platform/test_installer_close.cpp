#include "platform/foreign_windows.h"
#include "tests/platform/windows_test_support.h"

#include <doctest/doctest.h>

#include <string>

using namespace quillo;

namespace {

constexpr char kInstallerClass[] = "MsiDialogCloseClass";

// Another process with one top-level window of the installer's class and the given title.
class StubWindow final {
public:
    StubWindow(const char* title, const std::string& record) {
        std::string line = "\"" + test::stubPath() + "\" window " + kInstallerClass + " \"" + title +
                           "\" \"" + record + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &m_process))
            return;
        CloseHandle(m_process.hThread);
        // A loaded machine may take seconds to start a program under Wine.
        for (int i = 0; i < 600 && FindWindowA(kInstallerClass, title) == nullptr && running(); ++i)
            Sleep(50);
        m_shown = FindWindowA(kInstallerClass, title) != nullptr;
    }
    // A stub left running would hold the test's output open and stall the run.
    ~StubWindow() {
        if (m_process.hProcess == nullptr)
            return;
        if (running())
            TerminateProcess(m_process.hProcess, 0);
        CloseHandle(m_process.hProcess);
    }
    StubWindow(const StubWindow&) = delete;
    StubWindow& operator=(const StubWindow&) = delete;

    bool shown() const { return m_shown; }
    bool running() const { return WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT; }
    bool endsWithin(DWORD ms) const { return WaitForSingleObject(m_process.hProcess, ms) == WAIT_OBJECT_0; }

private:
    PROCESS_INFORMATION m_process{};
    bool m_shown = false;
};

} // namespace

TEST_CASE("the installer's last dialog in another process gets the close command") {
    const std::string record = test::freshRecordPath("installer");
    StubWindow installer("TarnwickQuillo", record);
    REQUIRE(installer.shown());
    CHECK(closeForeignWindow(kInstallerClass, "TarnwickQuillo"));
    CHECK(test::waitForRecord(record, 5000) == "SC_CLOSE");
    CHECK(installer.endsWithin(5000));
}

TEST_CASE("a window of that class with another title is left alone") {
    const std::string record = test::freshRecordPath("other");
    StubWindow other("Other Product", record);
    REQUIRE(other.shown());
    CHECK_FALSE(closeForeignWindow(kInstallerClass, "TarnwickQuillo"));
    Sleep(300);
    CHECK(other.running());
    CHECK(test::waitForRecord(record, 0).empty());
}
