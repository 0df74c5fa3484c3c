#include "notification/delimited_field.h"

#include <doctest/doctest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <string_view>

namespace {
// Lets a test refuse the next allocations and count them, to see the routine's own storage use.
bool s_failAllocations = false;
int s_allocations = 0;
} // namespace

void* operator new(std::size_t size) {
    ++s_allocations;
    if (s_failAllocations)
        throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

TEST_CASE("fields of a record, and what each failure leaves in the output") {
    struct Row {
        std::string_view name; // doctest prints a const char* as its address
        std::string record;
        int n;
        char delimiter;
        char escape;
        int result;
        std::string out; // every call starts with out holding "stale"
    };
    const Row rows[] = {
        {"pq|r\\|s|t: field 0 is pq", "pq|r\\|s|t", 0, '|', '\\', 1, "pq"},
        {"pq|r\\|s|t: escaped delimiter is text", "pq|r\\|s|t", 1, '|', '\\', 1, "r|s"},
        {"pq|r\\|s|t: field 2 is t", "pq|r\\|s|t", 2, '|', '\\', 1, "t"},
        {"pq|r\\|s|t: field 3 missing, out emptied", "pq|r\\|s|t", 3, '|', '\\', 0, ""},
        {"|x: separator at position 0 gives empty field 0", "|x", 0, '|', '\\', 1, ""},
        {"|x: field 1 is x", "|x", 1, '|', '\\', 1, "x"},
        {"a|: last byte delimiter gives empty last field", "a|", 1, '|', '\\', 1, ""},
        {"a|: field 2 missing", "a|", 2, '|', '\\', 0, ""},
        {"x||y: adjacent separators give empty field", "x||y", 1, '|', '\\', 1, ""},
        {"x||y: field 2 is y", "x||y", 2, '|', '\\', 1, "y"},
        {"a\\\\|b: two escapes still hide the delimiter", "a\\\\|b", 0, '|', '\\', 1, "a|b"},
        {"a\\\\|b: so there is no field 1", "a\\\\|b", 1, '|', '\\', 0, ""},
        {"a\\b\\: escape before a byte and at the end dropped", "a\\b\\", 0, '|', '\\', 1, "ab"},
        {"no delimiter: whole record minus escapes", "he\\llo world", 0, '|', '\\', 1, "hello world"},
        {"no delimiter: field 1 missing", "hello", 1, '|', '\\', 0, ""},
        {"empty record, field 0: out unchanged", "", 0, '|', '\\', 0, "stale"},
        {"empty record, field 3: out unchanged", "", 3, '|', '\\', 0, "stale"},
        {"negative n is field 0", "a|b", -5, '|', '\\', 1, "a"},
        {"field of escapes only is empty, result 1", "a|\\\\\\", 1, '|', '\\', 1, ""},
        {"record of one escape byte", "\\", 0, '|', '\\', 1, ""},
        {"escaped delimiter at the start of a field", "a|\\|b|c", 1, '|', '\\', 1, "|b"},
        {"other delimiter and escape", "a^,b,c", 0, ',', '^', 1, "a,b"},
        {"other delimiter: bar is text", "a|b,c", 1, ',', '^', 1, "c"},
        {"high byte as delimiter compared as 8 bits", "x\xFFy", 1, '\xFF', '\\', 1, "y"},
        {"high bytes of UTF-8 text copied unchanged", "J\xC3\xBCrgen|hi", 0, '|', '\\', 1, "J\xC3\xBCrgen"},
        {"far field of a short record", "a|b", 1000, '|', '\\', 0, ""},
    };
    for (const Row& row : rows) {
        CAPTURE(row.name);
        std::string field = "stale";
        // An exact-size copy, so reading past the record is caught by sanitizer builds.
        const std::unique_ptr<char[]> bytes(new char[std::max<std::size_t>(row.record.size(), 1)]);
        std::copy(row.record.cbegin(), row.record.cend(), bytes.get());
        CHECK(GetDelimitedField(field, bytes.get(), static_cast<std::int32_t>(row.record.size()), row.n,
                                row.delimiter, row.escape) == row.result);
        CHECK(field == row.out);
    }
}

TEST_CASE("only the counted bytes are the record") {
    // No terminator is needed and nothing after is read.
    const char buffer[] = "ab|cd|ef";
    std::string field = "stale";
    CHECK(GetDelimitedField(field, buffer, 3, 1, '|', '\\') == 1);
    CHECK(field == std::string());
    CHECK(GetDelimitedField(field, buffer, 4, 1, '|', '\\') == 1);
    CHECK(field == "c");
    CHECK(GetDelimitedField(field, buffer, 4, 2, '|', '\\') == 0);

    field = "stale";
    CHECK(GetDelimitedField(field, nullptr, 10, 0, '|', '\\') == 0);
    CHECK(field == "stale");
    CHECK(GetDelimitedField(field, buffer, -1, 0, '|', '\\') == 0);
    CHECK(field == "stale");
}

TEST_CASE("no storage for the field") {
    const std::string record = "name|" + std::string(200, 'm') + "|2 min";
    std::string field;
    s_failAllocations = true;
    const int result =
        GetDelimitedField(field, record.data(), static_cast<std::int32_t>(record.size()), 1, '|', '\\');
    s_failAllocations = false;
    CHECK(result == 0);
    CHECK(field.size() <= 200);
}

TEST_CASE("the output is sized once, and storage large enough is reused") {
    const std::string record = "name|" + std::string(300, 'm') + "\\|" + std::string(300, 'n') + "|2 min";
    std::string field;
    s_allocations = 0;
    const int result =
        GetDelimitedField(field, record.data(), static_cast<std::int32_t>(record.size()), 1, '|', '\\');
    const int allocations = s_allocations;
    CHECK(result == 1);
    CHECK(allocations == 1);
    CHECK(field.size() == 601);
    CHECK(field[300] == '|');

    s_allocations = 0;
    const int again =
        GetDelimitedField(field, record.data(), static_cast<std::int32_t>(record.size()), 0, '|', '\\');
    const int reused = s_allocations;
    CHECK(again == 1);
    CHECK(reused == 0);
    CHECK(field == "name");
}
