#include "resources/version_info.h"

#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

// The resource script linked into this test as into the client: its version block and icon.
namespace {

std::vector<char> versionBlock() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::vector<char> block(GetFileVersionInfoSizeA(path, nullptr));
    REQUIRE(!block.empty());
    REQUIRE(GetFileVersionInfoA(path, 0, DWORD(block.size()), block.data()));
    return block;
}

std::string stringValue(std::vector<char>& block, const std::string& key) {
    void* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\040904b0\\" + key;
    if (!VerQueryValueA(block.data(), path.c_str(), &value, &length) || length == 0)
        return {};
    return static_cast<const char*>(value);
}

} // namespace

TEST_CASE("the version block carries the client's version and names") {
    std::vector<char> block = versionBlock();
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    REQUIRE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    CHECK(fixed->dwFileVersionMS == 0x00010000);
    CHECK(fixed->dwFileVersionLS == 0x00000004);
    CHECK(fixed->dwProductVersionMS == 0x00010000);
    CHECK(fixed->dwProductVersionLS == 0x00000004);
    CHECK(fixed->dwFileType == VFT_APP);
    CHECK(stringValue(block, "FileDescription") == quillo::res::kFileDescription);
    CHECK(stringValue(block, "ProductName") == quillo::res::kProductName);
    CHECK(stringValue(block, "LegalCopyright") == quillo::res::kLegalNotice);
    CHECK(stringValue(block, "FileVersion") == "1, 0, 0, 4");
    CHECK(stringValue(block, "OriginalFilename") == "Quillo.EXE");
}

TEST_CASE("the application icon is resource 128") {
    CHECK(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128)) != nullptr);
}
