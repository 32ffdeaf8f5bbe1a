#pragma once
// A run context over a captured screen and memory streams for the tests of the
// phases: ZIRKA.CTL, the program log, the report and the mailer's logs are held
// in strings, and what the run wrote can be read back.

#include <cstddef>
#include <memory>
#include <string>

#include "core/context.h"
#include "platform/text_file.h"
#include "support/capture_screen.h"
#include "support/memory_file.h"

namespace zirka::testing {

class CapturedRun {
 public:
  // `mainCtl` is what ZIRKA.CTL holds.
  explicit CapturedRun(const std::string& mainCtl = "") {
    ctx.mainCtl = Text(mainCtl, "ZIRKA.CTL");
  }
  CapturedRun(const CapturedRun&) = delete;
  CapturedRun& operator=(const CapturedRun&) = delete;

  // Opens the program log in memory; it keeps what it held before.
  void OpenLog() { ctx.programLog = platform::MakeMemoryText(log_, "ZIRKA.LOG"); }
  // Opens the report in memory, holding `existing` already.
  void OpenReport(const std::string& existing = "") {
    *report_ = existing;
    ctx.report = platform::MakeMemoryText(report_, "REPORT.TXT");
  }
  // What the program log and the report hold so far, CR LF as written; also
  // after the run closed them.
  std::string Log() {
    if (ctx.programLog) ctx.programLog->Flush();
    return *log_;
  }
  std::string Report() {
    if (ctx.report) ctx.report->Flush();
    return *report_;
  }

  // Adds an open log with `contents` (raw bytes, as on the disk).
  LogEntry& AddLog(const std::string& path, const std::string& contents, bool isNew = false) {
    LogEntry entry;
    entry.path = path;
    entry.stream = Text(contents, path);
    entry.isNew = isNew;
    entry.scanFrom = 0;  // read from its start, as a forced run reads it
    ctx.logTable.push_back(std::move(entry));
    return ctx.logTable.back();
  }
  // What the scan reads of a log: from its scanFrom on ("" when it reads nothing),
  // in pieces of `max`.
  std::string RestOf(std::size_t index, std::size_t max = 4096) {
    std::string rest;
    std::string piece;
    LogEntry& entry = ctx.logTable[index];
    if (!entry.scanFrom) return rest;
    entry.stream->Seek(*entry.scanFrom);
    while (entry.stream->ReadPiece(piece, max)) rest += piece;
    return rest;
  }

  // A memory stream holding `text`, e.g. for ZIRKA.CTL or T-MAIL.CTL.
  static std::unique_ptr<platform::TextFile> Text(const std::string& text,
                                                  std::string name = "MEMORY") {
    return platform::MakeMemoryText(std::make_shared<std::string>(text), std::move(name));
  }

  platform::CaptureScreen screen;
  RunContext ctx{screen};

 private:
  std::shared_ptr<std::string> log_ = std::make_shared<std::string>();
  std::shared_ptr<std::string> report_ = std::make_shared<std::string>();
};

// `text` with every LF written as CR LF, as a text stream writes it.
inline std::string Dos(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return out;
}

}  // namespace zirka::testing
