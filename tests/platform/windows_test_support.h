#pragma once

#include <windows.h>

#include <string>

// What the tests of the Windows seams share: the stub program beside the test, fresh record files
// in the prefix's temporary folder, and waiting for another process.
namespace quillo::test {

inline std::string stubPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string stub(path);
    stub.resize(stub.find_last_of('\\') + 1);
    return stub + "test_stub.exe";
}

inline std::string freshRecordPath(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + name + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(path.c_str());
    return path;
}

// The record's content once it exists, or empty after timeoutMs.
inline std::string waitForRecord(const std::string& path, DWORD timeoutMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += 50) {
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char buffer[2048] = {};
            DWORD read = 0;
            ReadFile(file, buffer, sizeof buffer, &read, nullptr);
            CloseHandle(file);
            return std::string(buffer, read);
        }
        Sleep(50);
    }
    return {};
}

// Sets the default value of HKEY_CLASSES_ROOT\key for the life of the object: a key that existed
// gets its previous value back, one that did not is removed.
class ClassesKey final {
public:
    ClassesKey(std::string key, const std::string& value)
        : m_key(std::move(key)) {
        char previous[MAX_PATH] = {};
        LONG size = sizeof previous;
        m_existed = RegQueryValueA(HKEY_CLASSES_ROOT, m_key.c_str(), previous, &size) == ERROR_SUCCESS;
        m_previous = previous;
        set(value);
    }
    ~ClassesKey() {
        if (m_existed)
            set(m_previous);
        else
            RegDeleteTreeA(HKEY_CLASSES_ROOT, m_key.c_str());
    }
    ClassesKey(const ClassesKey&) = delete;
    ClassesKey& operator=(const ClassesKey&) = delete;

private:
    void set(const std::string& value) {
        RegSetValueA(HKEY_CLASSES_ROOT, m_key.c_str(), REG_SZ, value.c_str(), DWORD(value.size()));
    }

    std::string m_key;
    bool m_existed = false;
    std::string m_previous;
};

} // namespace quillo::test
