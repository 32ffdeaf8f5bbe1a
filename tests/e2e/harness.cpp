#include "e2e/harness.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "e2e/process.h"

#ifndef ZIRKA_E2E_DEFAULT_PROGRAM
#define ZIRKA_E2E_DEFAULT_PROGRAM ""
#endif

namespace zirka::e2e {

namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string>& Options() {
  static std::map<std::string, std::string> options;
  return options;
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

// A --name= option of the test binary, else the environment variable, else `fallback`.
std::string Setting(const std::string& option, const char* variable,
                    const std::string& fallback) {
  const auto it = Options().find(option);
  return it != Options().end() ? it->second : EnvOr(variable, fallback);
}

std::string Program() {
  const std::string program = Setting("program", "ZIRKA_E2E_PROGRAM", ZIRKA_E2E_DEFAULT_PROGRAM);
  if (program.empty()) throw std::runtime_error("ZIRKA_E2E_PROGRAM is not set");
  return fs::absolute(program).string();
}

std::vector<std::string> Launcher() {
  std::istringstream words(Setting("launcher", "ZIRKA_E2E_LAUNCHER", ""));
  std::vector<std::string> out;
  for (std::string w; words >> w;) out.push_back(w);
  return out;
}

std::string WinePrefix() {
  const std::string prefix =
      Setting("wineprefix", "ZIRKA_E2E_WINEPREFIX", EnvOr("WINEPREFIX", ""));
  if (prefix.empty()) throw std::runtime_error("Wine runs need ZIRKA_E2E_WINEPREFIX");
  return prefix;
}

std::string Upper(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Spit(const fs::path& path, std::string_view bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// Points the Wine prefix's drive D: at `root`, replacing the link in one step.
// Wine's mount manager, still busy after the case before, may drop a link it does
// not know from dosdevices: made again then.
void MapWineDriveD(const std::string& root) {
  const fs::path devices = fs::path(WinePrefix()) / "dosdevices";
  const fs::path link = devices / "d:";
  const fs::path fresh = devices / ("d:.new" + std::to_string(getpid()));
  for (int attempt = 1;; ++attempt) {
    std::error_code ec;
    fs::remove(fresh, ec);
    fs::create_directory_symlink(root, fresh);
    fs::rename(fresh, link, ec);
    if (!ec) return;
    if (attempt == 5) throw fs::filesystem_error("cannot map drive D:", fresh, link, ec);
  }
}

// Unique scratch directory names within this test process.
int NextNodeNumber() {
  static int next = 0;
  return ++next;
}

bool KeepTrees() { return EnvOr("ZIRKA_E2E_KEEP", "") == "1"; }

// The scratch directory of this test process, removed at exit when empty.
class ScratchDir {
 public:
  ScratchDir() {
    const fs::path dir = fs::temp_directory_path() / ("zirka-e2e-" + std::to_string(getpid()));
    fs::create_directories(dir);
    path_ = fs::canonical(dir).string();
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove(path_, ignored);  // only when empty: kept trees stay
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& ScratchBase() {
  static const ScratchDir dir;
  return dir.path();
}

}  // namespace

bool UnderWine() { return !Launcher().empty(); }

std::string ProgramUnderTest() { return Program(); }

std::vector<std::string> LauncherCommand() { return Launcher(); }

std::string WinePrefixDir() { return WinePrefix(); }

void SetOption(const std::string& name, const std::string& value) { Options()[name] = value; }

std::string Normalize(std::string text) {
  static const std::regex elapsed("(Elapsed(?: time)? )[0-9]+:[0-9][0-9]");
  static const std::regex calendar(
      "(Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
      "[ 0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9] [0-9]{4}");
  text = std::regex_replace(text, elapsed, "$1M:SS");
  return std::regex_replace(text, calendar, "Www Mmm DD hh:mm:ss YYYY");
}

std::string Dos(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

std::string Slice(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t begin = text.find(from);
  if (begin == std::string::npos) return "";
  const std::size_t end = text.find(to, begin + from.size());
  return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::string ExitLines(int errorlevel) {
  return "\xFE Exit with errorlevel " + std::to_string(errorlevel) +
         "\n\xFE Elapsed time M:SS\n";
}

std::ostream& operator<<(std::ostream& out, const RunResult& r) {
  return out << "exit " << r.exitCode << (r.killed ? " (killed)" : "") << "\n--- screen\n"
             << r.output << "--- stderr\n"
             << r.errorOutput;
}

Node::Node(const std::string& name) {
  base_ = ScratchBase() + "/" + name + "-" + std::to_string(NextNodeNumber());
  fs::remove_all(base_);
  root_ = base_ + "/d";
  fs::create_directories(root_);
}

Node::Node(const std::string& name, const std::string& parent) {
  base_ = parent + "/zirka-e2e-" + std::to_string(getpid()) + "-" + name + "-" +
          std::to_string(NextNodeNumber());
  fs::remove_all(base_);
  root_ = base_ + "/d";
  fs::create_directories(root_);
}

Node::~Node() {
  if (KeepTrees()) return;
  std::error_code ignored;
  fs::remove_all(base_, ignored);
}

std::string Node::Host(const std::string& rel) const {
  return rel.empty() ? root_ : root_ + "/" + rel;
}

void Node::Write(const std::string& rel, std::string_view text) const {
  Spit(Host(rel), Dos(text));
}

void Node::WriteRaw(const std::string& rel, std::string_view bytes) const {
  Spit(Host(rel), bytes);
}

void Node::MakeDir(const std::string& rel) const { fs::create_directories(Host(rel)); }

void Node::CopyTree(const std::string& hostDir, const std::string& rel) const {
  fs::create_directories(Host(rel));
  fs::copy(hostDir, Host(rel), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void Node::Remove(const std::string& rel) const { fs::remove_all(Host(rel)); }

std::string Node::Read(const std::string& rel) const { return Slurp(Host(rel)); }

bool Node::Exists(const std::string& rel) const {
  std::error_code ec;
  return fs::exists(fs::symlink_status(Host(rel), ec));
}

std::vector<std::string> Node::List(const std::string& rel) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Host(rel))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Node::DosPath(const std::string& rel) {
  std::string path = "D:\\" + rel;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string Node::InstalledCtlPath(const std::string& dir) const {
  if (UnderWine()) return Upper(DosPath(dir + "/ZIRKA.CTL"));
  return Upper(Host(dir) + "/ZIRKA.CTL");
}

RunResult Node::Run(const std::vector<std::string>& args, const RunOptions& options) const {
  return Launch(options.program.empty() ? Program() : options.program, args, options);
}

RunResult Node::RunInstalled(const std::string& dir, const std::vector<std::string>& args,
                             const RunOptions& options) const {
  const fs::path program = options.program.empty() ? Program() : options.program;
  const fs::path copy = fs::path(Host(dir)) / program.filename();
  fs::create_directories(copy.parent_path());
  fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
  // Under Wine the copy is started by its DOS path, so that the program sees
  // itself on drive D: as it would on a node.
  const std::string started =
      UnderWine() ? DosPath(dir + "/" + program.filename().string()) : copy.string();
  return Launch(started, args, options);
}

RunResult Node::Launch(const std::string& program, const std::vector<std::string>& args,
                       const RunOptions& options) const {
  const bool wine = UnderWine();
  ChildSpec child;
  child.argv = Launcher();
  child.argv.push_back(program);
  child.argv.insert(child.argv.end(), args.begin(), args.end());
  child.cwd = Host(options.cwd);
  child.stdoutPath = base_ + "/stdout";
  child.stderrPath = base_ + "/stderr";
  child.timeout = options.timeout;
  child.killAfter = options.killAfter;
  child.closedStdout = options.closedStdout;

  // The outer environment, less what would make a run depend on the machine.
  std::map<std::string, std::optional<std::string>> env;
  for (const std::string& entry : CurrentEnvironment()) {
    const std::size_t eq = entry.find('=');
    if (eq == std::string::npos) continue;
    const std::string name = entry.substr(0, eq);
    if (name == "T-MAIL" || name.rfind("ZIRKA_DRIVE_", 0) == 0 ||
        name.rfind("ZIRKA_FAULT_", 0) == 0 || name == "DISPLAY" || name == "WINEPREFIX") {
      continue;
    }
    env[name] = entry.substr(eq + 1);
  }
  if (wine) {
    MapWineDriveD(root_);
    env["WINEPREFIX"] = WinePrefix();
    env["WINEDEBUG"] = "-all";
  } else {
    env["ZIRKA_DRIVE_D"] = root_;
    // No Wine drives either: other letters are dropped, whatever the machine has.
    env["WINEPREFIX"] = base_ + "/no-wine";
    // Screen text follows the locale: the cases compare the CP866 bytes.
    env["LANG"] = "C";
    env["LC_ALL"] = std::nullopt;
    env["LC_CTYPE"] = std::nullopt;
  }
  for (const auto& [name, value] : options.env) env[name] = value;
  for (const auto& [name, value] : env) {
    if (value) child.env.push_back(name + "=" + *value);
  }

  ChildEnd end = RunChild(child);
  // Now and then Wine fails to start a program at all: it ends with 1 and not a
  // byte of output (its own messages are off). The program never does that, since
  // every run that ends says so on the screen; such a start is tried again.
  for (int again = 0; again < 2 && wine && !options.closedStdout && !end.signaled &&
                      end.exitCode == 1 && Slurp(child.stdoutPath).empty() &&
                      Slurp(child.stderrPath).empty();
       ++again) {
    std::cerr << "[ wine     ] " << program << " ended with 1 and no output: started again\n";
    end = RunChild(child);
  }
  RunResult r;
  r.exitCode = end.exitCode;
  r.killed = end.signaled;
  r.output = Slurp(child.stdoutPath);
  r.errorOutput = Slurp(child.stderrPath);
  if (wine) {
    std::string lf;
    for (std::size_t i = 0; i < r.output.size(); ++i) {
      if (r.output[i] == '\r' && i + 1 < r.output.size() && r.output[i + 1] == '\n') continue;
      lf.push_back(r.output[i]);
    }
    r.output = std::move(lf);
  }
  r.screen = Normalize(r.output);
  return r;
}

}  // namespace zirka::e2e
