#include "platform/link_open_win.h"
#include "tests/platform/windows_test_support.h"

#include <doctest/doctest.h>

#include <string>

using namespace quillo;

TEST_CASE("an address whose scheme has a handler goes to that handler") {
    const std::string record = test::freshRecordPath("scheme");
    test::ClassesKey scheme("quillotest", "URL:Quillo test");
    RegSetKeyValueA(HKEY_CLASSES_ROOT, "quillotest", "URL Protocol", REG_SZ, "", 1);
    test::ClassesKey command("quillotest\\shell\\open\\command",
                             "\"" + test::stubPath() + "\" record \"" + record + "\" \"%1\"");
    CHECK(openAddressWithShell("quillotest:chat?id=7"));
    const std::string line = test::waitForRecord(record, 10000);
    CHECK(line.ends_with("\"quillotest:chat?id=7\""));
}

TEST_CASE("an address nobody handles opens with the .htm program, cut at its placeholder") {
    const std::string record = test::freshRecordPath("fallback");
    const std::string program = "\"" + test::stubPath() + "\" record \"" + record + "\"";
    test::ClassesKey htm(".htm", "QuilloTestPage");
    test::ClassesKey command("QuilloTestPage\\shell\\open\\command", program + " \"%1\" --new-window");
    CHECK(openAddressWithShell("quillonone:page?id=1"));
    // The space before the placeholder stays, then one more and the address, unquoted.
    CHECK(test::waitForRecord(record, 10000) == program + "  quillonone:page?id=1");
}

TEST_CASE("with neither a handler nor a .htm program, nothing opens") {
    test::ClassesKey htm(".htm", "QuilloNoSuchClass");
    CHECK_FALSE(openAddressWithShell("quillonone:page"));
}
