#include "config/tmail_ctl.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "config/binkd_cfg.h"
#include "core/keyword.h"
#include "core/messages.h"
#include "core/text.h"
#include "platform/files.h"
#include "platform/system.h"

namespace zirka {

namespace {

using platform::Mode;
using platform::Share;

// The size one log record had in the classic fixed layout: a 181-byte path, a
// stream handle, the isNew flag and a 15-byte log time, aligned to 4 bytes. The
// debug line shows the table's size as if it were built of such records.
constexpr unsigned kClassicLogRecordSize = 208;

// T-MAIL.CTL may be held open by the mailer: it is read allowing others to write.
std::unique_ptr<platform::TextFile> OpenTmailCtl(const std::string& path) {
  return platform::OpenText(path, Mode::Read, Share::DenyNone);
}

// Finds and opens T-MAIL.CTL: CTL_PATH, else the current directory, else the
// directory the T-MAIL variable names. Errorlevel 1 when CTL_PATH names a file
// that can't be opened.
Outcome LocateTmailCtl(RunContext& ctx) {
  ctx.mainCtl->Rewind();
  ctx.tmailCtlPath = UpperAscii(LookupKeyword(*ctx.mainCtl, "CTL_PATH"));
  if (!ctx.tmailCtlPath.empty()) {
    Debug(ctx, "T-Mail contol file override path is: " + ctx.tmailCtlPath + "\n");
    ctx.tmailCtl = OpenTmailCtl(ctx.tmailCtlPath);
    if (!ctx.tmailCtl) return 1;
    return std::nullopt;
  }
  ctx.tmailCtl = OpenTmailCtl("t-mail.ctl");
  if (ctx.tmailCtl) {
    Debug(ctx, "T-Mail.Ctl found in the current directory\n");
    ctx.tmailCtlPath = "T-MAIL.CTL";
    return std::nullopt;
  }
  Debug(ctx,
        "T-Mail.Ctl not found in the current directory.\n"
        "Attempting to get \"T-MAIL\" environment variable...\n");
  const std::optional<std::string> variable = platform::GetEnv("T-MAIL");
  if (!variable) {
    Debug(ctx, "\"T-MAIL\" variable not found. Unable to find T-Mail.Ctl!\n\n\n");
    return std::nullopt;
  }
  std::string path = *variable;  // as written: its letter case is kept
  EnsureTrailingBackslash(path);
  path += "t-mail.ctl";
  ctx.tmailCtl = OpenTmailCtl(path);
  if (ctx.tmailCtl) {
    Debug(ctx, "T-Mail.Ctl found at " + path + "\n");
    ctx.tmailCtlPath = path;
  } else {
    Debug(ctx,
          "\"T-MAIL\" variable exists, but T-Mail.Ctl not found there!\nInvalid path is " +
              path + "\n\n");
  }
  return std::nullopt;
}

// The T-Mail directory: the control file's path up to and including its last
// directory separator; empty when it has none.
std::string DirectoryOf(const std::string& path) {
  const std::size_t last = LastSeparator(path);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

// Builds the table one log at a time; the spare entry at index `accepted` is
// reused until a log is accepted into it.
class LogTableBuilder {
 public:
  explicit LogTableBuilder(RunContext& ctx) : ctx_(ctx) {}

  // Tries the log `value` names; `foundLine` is the debug line's lead text. A path
  // without a directory is taken from the T-Mail directory unless `complete` is false.
  void Try(std::string value, const std::string& foundLine, LogFormat format = LogFormat::TMail,
           bool complete = true) {
    AddLogEntry(ctx_, accepted_);
    LogEntry& entry = ctx_.logTable[accepted_];
    if (complete) CompletePath(value, ctx_.tmailDirectory);
    entry.path = ToUpperAscii(value);
    entry.format = format;
    entry.stream = platform::OpenText(entry.path, Mode::Read, Share::DenyWrite);
    if (!entry.stream) {
      // No line break after the path: the next debug line follows on the same
      // screen line, as sysops' logs of debug runs have always shown it.
      Debug(ctx_, "?WARN-Cann't open " + entry.path);
      ctx_.logsLeftOut.push_back("Log " + entry.path + " can't be opened");
      return;
    }
    Debug(ctx_, foundLine + entry.path + "\n");
    // Paths are upper case here, so equal text is equal ignoring case.
    if (!seen_.insert(entry.path).second) {
      Debug(ctx_, "?WARN-Duplicated log " + entry.path + "\n");
      LogWrite(ctx_, "?WARN-Log " + entry.path + " occured two or more times\n");
      entry.stream.reset();
      return;
    }
    ++accepted_;
  }

  // Drops the spare entry of a log that was not accepted.
  std::size_t Finish() {
    ctx_.logTable.resize(accepted_);
    return accepted_;
  }

  std::size_t accepted() const { return accepted_; }

 private:
  RunContext& ctx_;
  std::size_t accepted_ = 0;
  std::unordered_set<std::string> seen_;
};

// The log of binkd's config that BINKD_CFG names: its first `log` line, a relative
// path taken from the config's directory (not from the T-Mail directory). A config
// that can't be opened or names no log adds nothing; debug mode says why.
void TryBinkdCfgLog(RunContext& ctx, LogTableBuilder& builder) {
  const std::string cfgPath = FirstKeywordValue(*ctx.mainCtl, "BINKD_CFG");
  if (cfgPath.empty()) return;
  // binkd may hold its config open: it is read allowing others to write.
  const auto cfg = platform::OpenText(cfgPath, Mode::Read, Share::DenyNone);
  if (!cfg) {
    Debug(ctx, "?WARN-Can't open binkd config " + cfgPath + "\n");
    ctx.logsLeftOut.push_back("binkd config " + cfgPath + " can't be opened");
    return;
  }
  Print(ctx, "\xFE Reading " + cfgPath + "\n");
  const std::optional<std::string> log = ReadBinkdLog(
      *cfg, [](std::string_view name) { return platform::GetEnv(std::string(name).c_str()); });
  if (!log || log->empty()) {
    Debug(ctx, "?WARN-No log line in binkd config " + cfgPath + "\n");
    ctx.logsLeftOut.push_back("binkd config " + cfgPath + " has no log line");
    return;
  }
  builder.Try(BinkdLogPath(cfgPath, *log), "Log path found at binkd config: ", LogFormat::Binkd,
              false);
}

// Every log that a `keyword` line of ZIRKA.CTL names, in the order of the lines.
void TryNamedLogs(RunContext& ctx, LogTableBuilder& builder, std::string_view keyword,
                  LogFormat format) {
  ctx.mainCtl->Rewind();
  for (std::string value = LookupKeyword(*ctx.mainCtl, keyword); !value.empty();
       value = LookupKeyword(*ctx.mainCtl, keyword)) {
    builder.Try(value, Format("Log #%d: ", static_cast<int>(builder.accepted())), format);
  }
}

}  // namespace

void AddLogEntry(RunContext& ctx, std::size_t acceptedCount) {
  ctx.logTable.resize(acceptedCount + 1);
  ctx.logTable[acceptedCount] = LogEntry{};
  Debug(ctx, Format("  (%04u, log #%02d)\n",
                    static_cast<unsigned>((acceptedCount + 1) * kClassicLogRecordSize),
                    static_cast<int>(acceptedCount)));
}

Outcome BuildLogTable(RunContext& ctx) {
  if (const Outcome located = LocateTmailCtl(ctx)) return located;
  if (ctx.tmailCtl) ctx.tmailDirectory = DirectoryOf(ctx.tmailCtlPath);

  LogTableBuilder builder(ctx);
  ctx.mainCtl->Rewind();
  for (std::string value = LookupKeyword(*ctx.mainCtl, "LOG_PATH"); !value.empty();
       value = LookupKeyword(*ctx.mainCtl, "LOG_PATH")) {
    builder.Try(value, Format("Log #%d: ", static_cast<int>(builder.accepted())));
  }
  // The logs of the other mailers named outright follow the LOG_PATH logs, by the
  // same rules: binkd's, then those of Argus (Radius, Taurus), then qico's.
  TryNamedLogs(ctx, builder, "BINKD_LOG", LogFormat::Binkd);
  TryNamedLogs(ctx, builder, "ARGUS_LOG", LogFormat::Argus);
  TryNamedLogs(ctx, builder, "QICO_LOG", LogFormat::Qico);

  if (ctx.tmailCtl) {
    Print(ctx, "\xFE Reading " + ctx.tmailCtlPath + "\n");
    ctx.tmailCtl->Rewind();
    // Only the first LOG line of T-MAIL.CTL counts.
    std::string value = LookupKeyword(*ctx.tmailCtl, "LOG");
    if (!value.empty()) builder.Try(value, "Log path found at T-Mail.Ctl: ");
  }
  TryBinkdCfgLog(ctx, builder);

  const std::size_t count = builder.Finish();
  if (!ctx.tmailCtl && count == 0) return 1;
  if (count == 0) return 2;
  Print(ctx, "\n");
  for (LogEntry& entry : ctx.logTable) entry.isNew = false;
  return std::nullopt;
}

}  // namespace zirka
