#pragma once
// The help switch and the usage text it prints.

#include <string>
#include <string_view>
#include <vector>

namespace zirka {

// The usage text: every option, the errorlevels, where ZIRKA.CTL is looked for
// and the environment variables the program reads. OEM screen text.
extern const std::string_view kUsageText;

// True when `arg` asks for help: "--help" exactly, or '-' or '/' followed by
// '?', 'h' or 'H', of which only the first two characters count like every
// other switch ("-help" and "/Hx" are help too).
bool IsHelpSwitch(std::string_view arg);

// True when any argument asks for help.
bool HelpWanted(const std::vector<std::string>& args);

}  // namespace zirka
