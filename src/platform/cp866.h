#pragma once
// The OEM code page of the screen text (CP866) turned into UTF-8 for terminals
// that expect it.

#include <string>
#include <string_view>

namespace zirka::platform {

// Bytes 0x80-0xFF become their UTF-8 sequences (0xFE "■" becomes E2 96 A0);
// every byte below 0x80, NUL included, is kept as it is.
std::string Cp866ToUtf8(std::string_view oem);

}  // namespace zirka::platform
