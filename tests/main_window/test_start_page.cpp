#include "main_window/start_page.h"
#include "settings/settings_store.h"
#include "tests/settings/fake_settings_backend.h"

#include <doctest/doctest.h>

#include <optional>
#include <string>

using namespace quillo;

TEST_CASE("which page the console starts on, and whether the address is read") {
    struct Row {
        std::string name; // a std::string, so a failing row is logged by its text
        bool keyExists;
        std::optional<std::string> orderId; // nullopt: no value
        std::optional<std::string> url;     // nullopt: no value
        std::string expected;
        bool urlRead;
    };
    const std::string product = "http://www.maker.test/store/free-live-chat-software.asp";
    const Row rows[] = {
        {"no order number: product page, address never read", true, std::nullopt, "http://x/", product,
         false},
        {"order 12345 without address: logon page", true, "12345", std::nullopt,
         "https://chat.maker.test/logon.aspx?id=12345", true},
        {"order 12345 with address ending in ?id=: appended as it stands", true, "12345",
         "https://c.test/console.aspx?id=", "https://c.test/console.aspx?id=12345", true},
        {"order number of 10 characters counts as missing", true, "1234567890", "http://x/", product, false},
        {"empty order number is appended as nothing", true, "", "http://x/?id=", "http://x/?id=", true},
        {"address of 256 characters counts as missing", true, "9", std::string(256, 'a'),
         "https://chat.maker.test/logon.aspx?id=9", true},
        {"no key at all: product page", false, std::nullopt, std::nullopt, product, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        FakeSettingsBackend backend;
        backend.present = row.keyExists;
        if (row.orderId)
            backend.values[kOrderIdValue] = *row.orderId;
        if (row.url)
            backend.values[kUrlValue] = *row.url;
        bool missing = false;
        const StartPageHosts hosts{"www.maker.test", "chat.maker.test"};
        CHECK(chooseStartPage(backend, missing, hosts) == row.expected);
        CHECK((backend.queries.count(kUrlValue) > 0) == row.urlRead);
    }
}
