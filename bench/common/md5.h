#pragma once

// MD5 of a byte string as 32 lower-case hex digits, to check generated data
// against its published sum. Not for anything that needs a secure hash.

#include <string>
#include <string_view>

namespace tavrin::bench {

std::string Md5Hex(std::string_view bytes);

}  // namespace tavrin::bench
