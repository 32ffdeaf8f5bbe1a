#pragma once
// binkd's own config file: the log it names. Pure functions over the config's text;
// the caller reads the file and supplies the environment.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text_file.h"

namespace zirka {

// The value of an environment variable, or nothing when it is not set.
using EnvLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The log a single config line names: its value when the line's first word is `log`
// (in any letter case), nothing for every other line. Words are read as binkd reads
// them:
//  - blanks and tabs separate words; a CR at the end of the line is dropped;
//  - a word that begins with '#' (not quoted, not escaped) ends the line's words;
//  - double quotes group characters, blanks included, into the word; an unclosed
//    quote runs to the end of the line;
//  - a backslash takes the next character as it is (in quotes too); a backslash at
//    the end of the line is dropped;
//  - %NAME% (NAME: one or more characters other than '%', '"', '\', blank and tab)
//    is the value of the environment variable NAME, taken as it is; when NAME is not
//    set, or no closing '%' follows, the text stays as written (so a lone '%' is a '%').
// The value is the word after `log`; words after it are ignored. `log` alone gives
// the empty value.
std::optional<std::string> BinkdLogOfLine(std::string_view line, const EnvLookup& env);

// The value of the first `log` line of the whole config text (lines end with LF),
// or nothing when no line is a `log` line. `include` lines are not followed.
std::optional<std::string> FindBinkdLog(std::string_view config, const EnvLookup& env);

// The value of the first `log` line of a config read from `stream` line by line,
// each line whole (see ReadWholeLine; a last line without a line feed counts too).
std::optional<std::string> ReadBinkdLog(platform::TextFile& stream, const EnvLookup& env);

// A path is absolute when it begins with '/' or '\', or with a drive letter and ':'.
bool IsAbsoluteBinkdPath(std::string_view path);

// The log path as the program opens it: an absolute `logPath` as it is, a relative
// one taken from the directory of `cfgPath` (everything up to its last '/' or '\',
// or its drive "c:"); unchanged when `cfgPath` has no directory.
std::string BinkdLogPath(std::string_view cfgPath, std::string_view logPath);

}  // namespace zirka
