#pragma once
// End-to-end harness: runs the BUILT program on a small node tree in a scratch
// directory and hands back its screen output, exit code and files, byte for byte.
//
// The same test binary runs natively and against zirka.exe under Wine:
//   ZIRKA_E2E_PROGRAM    the program to run (default: the zirka of this build)
//   ZIRKA_E2E_LAUNCHER   a command put in front of it, split at blanks, e.g.
//                        "/usr/lib/wine/wine64"; empty or unset: run natively
//   ZIRKA_E2E_WINEPREFIX the Wine prefix to use (else WINEPREFIX); it must have been
//                        booted (the CTest fixture does it once per build)
//   ZIRKA_E2E_KEEP=1     keep the scratch trees for a look after the run
// The first three can also be given as --program=, --launcher=, --wineprefix=.
//
// Each Node is a fresh directory that the program sees as drive D: natively
// through ZIRKA_DRIVE_D, under Wine through the prefix's dosdevices/d: link
// (so Wine cases must not run in parallel: CTest holds a resource lock for them).
//
//   Node node("keep_log");
//   node.Write("FIDO/ZIRKA.CTL", "LOG D:\\FIDO\\ZIRKA.LOG\nKEEP_LOG No\n");  // LF -> CR LF
//   node.WriteRaw("FIDO/ODD.CTL", std::string("LOG\0x\r", 6));             // bytes as given
//   RunResult r = node.Run({"-c=D:\\FIDO\\ZIRKA.CTL", "-d"});
//   EXPECT_EQ(r.exitCode, 1);
//   EXPECT_EQ(r.screen, "\xFE Debug mode is ON\n...\xFE Elapsed time M:SS\n");
//   EXPECT_EQ(Normalize(node.Read("FIDO/ZIRKA.LOG")), Dos("\n\n\xFE Zirka 3.8 started at ..."));
//   RunResult r2 = node.RunInstalled("FIDO", {"-d"});    // zirka copied into D:\FIDO
//   RunOptions o; o.cwd = "FIDO"; o.env["T-MAIL"] = "D:\\T-MAIL";  // per run
//   o.env["TZ"] = std::nullopt;                                    // unset a variable
//   node.Run({}, o);
//
// r.screen is the standard output with the variable parts replaced (see Normalize);
// r.output is the same text untouched. Under Wine, CR LF on standard output becomes
// LF first (Wine's console adds the CR); files are never changed.
// Tests that only make sense natively call SKIP_UNDER_WINE("why").

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace zirka::e2e {

// True when the program runs through a launcher (zirka.exe under Wine).
bool UnderWine();

// Sets "program", "launcher" or "wineprefix" for this test process; it takes the
// place of the matching ZIRKA_E2E_ variable.
void SetOption(const std::string& name, const std::string& value);

// The program under test (a host path), the launcher words put in front of it
// (empty natively) and the Wine prefix (under Wine only), for cases that start a
// helper program of their own beside it or install it themselves.
std::string ProgramUnderTest();
std::vector<std::string> LauncherCommand();
std::string WinePrefixDir();

#define SKIP_UNDER_WINE(reason)                     \
  do {                                              \
    if (::zirka::e2e::UnderWine()) GTEST_SKIP() << (reason); \
  } while (0)

// Replaces what differs from run to run with fixed placeholders:
//   "Elapsed time 0:03" -> "Elapsed time M:SS", "Elapsed 0:03" -> "Elapsed M:SS",
//   "Mon Dec  7 09:14:38 2026" -> "Www Mmm DD hh:mm:ss YYYY".
// Use it on the program log and the report too.
std::string Normalize(std::string text);

// Text with each LF written as CR LF, as the program writes its files.
std::string Dos(std::string_view text);

// The two lines every run ends with on the screen, normalised.
std::string ExitLines(int errorlevel);

// The part of `text` from `from` up to (not including) the next `to`, or to the
// end; "" when `from` is missing.
std::string Slice(const std::string& text, const std::string& from, const std::string& to);

struct RunOptions {
  std::string cwd;  // relative to the node's root; empty: the root (D:\)
  // Variables to set for this run; std::nullopt unsets one.
  std::map<std::string, std::optional<std::string>> env;
  std::chrono::milliseconds timeout{60000};  // the run is killed after this
  // When set, the program is killed with SIGKILL after this long (crash tests).
  std::optional<std::chrono::milliseconds> killAfter;
  bool closedStdout = false;  // start the program with no standard output at all
  // Another program to run in place of this build's (a host path), e.g. the build
  // with the fault seam; empty: the program of this build.
  std::string program;
};

struct RunResult {
  int exitCode = -1;        // the errorlevel; 128 + signal when killed
  bool killed = false;      // ended by a signal (timeout or killAfter)
  std::string output;       // standard output (CR LF -> LF under Wine)
  std::string screen;       // Normalize(output)
  std::string errorOutput;  // standard error, for diagnostics only
};

std::ostream& operator<<(std::ostream& out, const RunResult& r);

class Node {
 public:
  // A fresh, empty tree; `name` names its directory (letters, digits, '_').
  explicit Node(const std::string& name);
  // The same, in a directory of its own below `parent` (e.g. a memory file system
  // for cases that run the program hundreds of times).
  Node(const std::string& name, const std::string& parent);
  ~Node();
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  // Writes a file below the root (parents created); `rel` uses '/'. Write turns
  // each LF into CR LF; WriteRaw writes the bytes as given.
  void Write(const std::string& rel, std::string_view text) const;
  void WriteRaw(const std::string& rel, std::string_view bytes) const;
  void MakeDir(const std::string& rel) const;
  // Copies a directory tree of the host (e.g. the shipped example node) below the
  // root, bytes as they are.
  void CopyTree(const std::string& hostDir, const std::string& rel = "") const;
  void Remove(const std::string& rel) const;

  // The bytes of a file ("" when it is missing: check Exists).
  std::string Read(const std::string& rel) const;
  bool Exists(const std::string& rel) const;
  // The names in a directory below the root, sorted (empty rel: the root).
  std::vector<std::string> List(const std::string& rel = "") const;

  // Runs the program of this build with `args`.
  RunResult Run(const std::vector<std::string>& args, const RunOptions& options = {}) const;
  // Copies the program into `dir` (below the root) and runs that copy, so that
  // the default ZIRKA.CTL beside it is used.
  RunResult RunInstalled(const std::string& dir, const std::vector<std::string>& args,
                         const RunOptions& options = {}) const;

  // "D:\FIDO\ZIRKA.CTL" for "FIDO/ZIRKA.CTL": how the program reaches a file.
  static std::string DosPath(const std::string& rel);
  // The default main control file path that a program installed in `dir` shows:
  // natively the host path in upper case, under Wine D:\DIR\ZIRKA.CTL.
  std::string InstalledCtlPath(const std::string& dir) const;
  // The host path of the root directory (the drive D:).
  const std::string& root() const { return root_; }

 private:
  RunResult Launch(const std::string& program, const std::vector<std::string>& args,
                   const RunOptions& options) const;
  std::string Host(const std::string& rel) const;

  std::string base_;  // scratch directory of this node: root/ and run output
  std::string root_;  // the drive D:
};

}  // namespace zirka::e2e
