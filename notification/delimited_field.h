#pragma once

#include <cstdint>
#include <string>

// Takes field n (from 0; 0 or less means field 0) out of a record of length bytes at data, in which
// fields are parted by separators: a delimiter byte at position 0 or not preceded by the escape byte.
// Every escape byte is removed from the field. Returns 1 when the field exists (it may be empty) and
// is in out, 0 otherwise: with no record (null data, length 0 or less) out is left as it was, with
// too few fields it is emptied, and when the storage for the field cannot be had it may be resized.
int GetDelimitedField(std::string& out, const char* data, std::int32_t length, std::int32_t n, char delimiter,
                      char escape);
