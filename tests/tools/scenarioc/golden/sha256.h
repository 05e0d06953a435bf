// SHA-256 of a byte string, written as 64 lower-case hex digits (as sha256sum
// prints it), to pin a compiled file's exact bytes in a golden text.
#pragma once

#include <string>
#include <string_view>

namespace scenario::testing {

std::string sha256_hex(std::string_view bytes);

}  // namespace scenario::testing
