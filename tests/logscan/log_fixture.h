#pragma once
// A run context over memory streams for the log-analysis tests: a main control
// file, a program log and any number of logs, all held in strings.

#include <memory>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/text_file.h"
#include "core/context.h"
#include "core/terminate.h"
#include "support/end_of.h"
#include "support/memory_file.h"
#include "support/capture_screen.h"

namespace zirka::testing {

struct LogRun {
  platform::CaptureScreen screen;
  RunContext ctx{screen};
  std::shared_ptr<std::string> programLog = std::make_shared<std::string>();

  explicit LogRun(const std::string& mainCtl = "") {
    ctx.mainCtl = platform::MakeMemoryText(std::make_shared<std::string>(mainCtl), "ZIRKA.CTL");
  }

  void OpenProgramLog() { ctx.programLog = platform::MakeMemoryText(programLog, "ZIRKA.LOG"); }

  // Adds an open log with `contents` (raw bytes, as on the disk).
  LogEntry& AddLog(const std::string& path, const std::string& contents, bool isNew = false) {
    LogEntry entry;
    entry.path = path;
    entry.stream = platform::MakeMemoryText(std::make_shared<std::string>(contents), path);
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
};


}  // namespace zirka::testing
