// A stand-in for other programs in the tests of the Windows seams.
//   test_stub window <class> <title> <record file>: a top-level window that notes each close command
//   it receives in the record file, then closes as its close box would.
//   test_stub record <record file> ...: writes its own command line to the record file and exits.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

const char* s_record = nullptr;

// Written whole through a rename, so a test polling for the file never reads half of it.
void writeRecord(const std::string& text) {
    const std::string partial = std::string(s_record) + ".partial";
    HANDLE file = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExA(partial.c_str(), s_record, MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)
        writeRecord("SC_CLOSE");
    if (message == WM_TIMER) // nobody closed it: do not outlive the test
        DestroyWindow(window);
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int runWindow(const char* windowClass, const char* title) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = windowClass;
    if (!RegisterClassA(&wc))
        return 2;
    HWND window = CreateWindowExA(0, windowClass, title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    if (window == nullptr)
        return 3;
    SetTimer(window, 1, 45000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 5 && std::strcmp(argv[1], "window") == 0) {
        s_record = argv[4];
        return runWindow(argv[2], argv[3]);
    }
    if (argc >= 3 && std::strcmp(argv[1], "record") == 0) {
        s_record = argv[2];
        writeRecord(GetCommandLineA());
        return 0;
    }
    return 1;
}
