#include "app/engine_flags.h"

#include <doctest/doctest.h>

#include <string>
#include <string_view>

TEST_CASE("the engine's flags: the operator's first, our defaults for what is left unset") {
    struct Row {
        std::string_view name;
        std::string user;
        std::string expected;
    };
    const std::string limit = "--renderer-process-limit=8";
    const Row rows[] = {
        {"nothing set: the shared renderers", "", limit},
        {"other flags are kept, ours follow", "--disable-gpu", "--disable-gpu " + limit},
        {"operator's own limit wins", "--renderer-process-limit=2", "--renderer-process-limit=2"},
        {"process per site is a choice of process model", "--disable-gpu --process-per-site",
         "--disable-gpu --process-per-site"},
        {"single process is a choice of process model", "--single-process", "--single-process"},
        {"a longer flag that merely starts alike is not the same flag", "--process-per-site-x",
         "--process-per-site-x " + limit},
        {"a quoted flag counts", "\"--process-per-site\"", "\"--process-per-site\""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(quillo::engineFlags(row.user) == row.expected);
    }
}

TEST_CASE("the administrator's single sign-on servers reach the engine unless the operator named some") {
    struct Row {
        std::string_view name;
        std::string user;
        std::string servers;
        std::string expected;
    };
    const std::string limit = "--renderer-process-limit=8";
    const Row rows[] = {
        {"the allow-list after our defaults", "", "*.corp.example",
         limit + " --auth-server-whitelist=*.corp.example"},
        {"the operator's own list wins", "--auth-server-whitelist=a.example", "*.corp.example",
         "--auth-server-whitelist=a.example " + limit},
        {"an unusable list adds nothing", "", "a.example --no-sandbox", limit},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        CHECK(quillo::engineFlags(row.user, row.servers) == row.expected);
    }
}
