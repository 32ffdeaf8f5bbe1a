// How a DOS path reaches the POSIX file system: drive letter, separators, and
// letter case looked up in each directory on the way.

#include <dirent.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/system.h"

namespace zirka::platform {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringAsciiCase(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size(); ++i) {
    if (b[i] == '\0' || AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return b[i] == '\0';
}

// The host directory a drive letter stands for, or nothing when the letter is
// simply dropped: ZIRKA_DRIVE_<L> first, then Wine's dosdevices link.
std::optional<std::string> DriveDirectory(char letter) {
  const std::string variable = std::string("ZIRKA_DRIVE_") + AsciiUpper(letter);
  if (auto value = GetEnv(variable.c_str())) return value;
  std::string prefix;
  if (auto wine = GetEnv("WINEPREFIX"); wine && !wine->empty()) {
    prefix = *wine;
  } else if (auto home = GetEnv("HOME")) {
    prefix = *home + "/.wine";
  } else {
    return std::nullopt;
  }
  const std::string device = prefix + "/dosdevices/" + AsciiLower(letter) + ":";
  char* resolved = ::realpath(device.c_str(), nullptr);
  if (resolved == nullptr) return std::nullopt;
  std::string target(resolved);
  std::free(resolved);
  return target;
}

bool EntryExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// The name under which `component` exists in `directory`: itself when it exists
// as written, else the first entry in byte order equal to it ignoring ASCII case.
// Nothing when there is no such entry.
std::optional<std::string> FindEntry(const std::string& directory, const std::string& component) {
  const std::string dirForOpen = directory.empty() ? "." : directory;
  const bool joined = directory.empty() || directory.back() == '/';
  const std::string exact = joined ? directory + component : directory + "/" + component;
  if (EntryExists(exact)) return component;
  // Closed however the search ends, also when a name can't be copied for want of memory.
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(dirForOpen.c_str()), ::closedir);
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> best;
  while (const dirent* entry = ::readdir(dir.get())) {
    if (!EqualIgnoringAsciiCase(component, entry->d_name)) continue;
    if (!best || std::string(entry->d_name) < *best) best = std::string(entry->d_name);
  }
  return best;
}

// Appends `rest` (components separated by '/') to `base`, each component as the
// directory holds it. Once a component is missing, the rest stays as written.
std::string LookUpComponents(std::string base, const std::string& rest) {
  bool lookingUp = true;
  std::size_t pos = 0;
  while (pos <= rest.size()) {
    std::size_t slash = rest.find('/', pos);
    if (slash == std::string::npos) slash = rest.size();
    std::string component = rest.substr(pos, slash - pos);
    if (!component.empty() && lookingUp && component != "." && component != "..") {
      if (auto found = FindEntry(base, component)) {
        component = *found;
      } else {
        lookingUp = false;
      }
    }
    base += component;
    if (slash < rest.size()) base += '/';
    pos = slash + 1;
  }
  return base;
}

}  // namespace

std::string HostPath(const std::string& dosPath) {
  std::string rest = dosPath;
  std::string base;
  const bool hasDrive = rest.size() >= 2 && rest[1] == ':' &&
                        ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'));
  if (hasDrive) {
    const auto drive = DriveDirectory(rest[0]);
    rest.erase(0, 2);
    if (drive) {
      base = *drive;
      // "C:FIDO" has no root of its own: it is taken from the drive's top.
      if (!rest.empty() && rest[0] != '\\' && rest[0] != '/') base += '/';
    }
  }
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  // Move the leading separators into the base, avoiding a doubled one.
  std::size_t lead = 0;
  while (lead < rest.size() && rest[lead] == '/') ++lead;
  if (lead > 0) {
    if (base.empty() || base.back() != '/') base += '/';
    rest.erase(0, lead);
  }
  // A path that exists exactly as written needs no look-up of its components: one
  // stat in place of one per component (most paths of a node are spelt as they are).
  if (!rest.empty() && EntryExists(base + rest)) return base + rest;
  return LookUpComponents(base, rest);
}

bool IsDirSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace zirka::platform
