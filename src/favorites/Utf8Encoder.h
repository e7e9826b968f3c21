#pragma once
#include <string>
#include <string_view>

// UTF-16 text as UTF-8. Surrogate pairs become four-byte forms; a surrogate without its partner
// becomes U+FFFD.
std::string encodeUtf8(std::u16string_view units);
