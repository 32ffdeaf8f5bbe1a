#include "run/program_log.h"

#include <string>
#include <string_view>

#include "core/keyword.h"
#include "core/known_keywords.h"
#include "core/messages.h"
#include "core/text.h"
#include "platform/files.h"
#include "platform/system.h"

namespace zirka {

namespace {

// "No" in any letter case opens the file anew; any other value (or none) appends.
platform::Mode OpenModeFor(const std::string& keepValue) {
  return !keepValue.empty() && EqualsIgnoreCase(keepValue, "NO") ? platform::Mode::Write
                                                                 : platform::Mode::Append;
}

// Opens the file named by `pathKeyword`, denying others write access. A missing
// or empty name, or a file that can't be opened, leaves the run without it and
// without a message.
std::unique_ptr<TextFile> OpenNamedFile(RunContext& ctx, std::string_view keepKeyword,
                                        std::string_view pathKeyword) {
  const platform::Mode mode = OpenModeFor(FirstKeywordValue(*ctx.mainCtl, keepKeyword));
  const std::string path = FirstKeywordValue(*ctx.mainCtl, pathKeyword);
  if (path.empty()) return nullptr;
  return platform::OpenText(path, mode, platform::Share::DenyWrite);
}

// Once a run, in the program log only (the screen stays as it was): the first line
// of ZIRKA.CTL whose keyword the program does not know, and how to see them all.
void NoteUnknownKeyword(RunContext& ctx) {
  if (!ctx.logOpen()) return;
  FindUnknownKeywords(*ctx.mainCtl, [&ctx](const UnknownKeyword& unknown) {
    LogWrite(ctx, "?WARN-Unknown keyword " + unknown.word +
                      (unknown.likely.empty() ? "" : " (" + unknown.likely + "?)") + " in line " +
                      std::to_string(unknown.line) + " of " + ctx.mainCtlPath +
                      ", passed over: zirka -t checks the configuration\n");
    return false;
  });
}

}  // namespace

void OpenProgramLogAndReport(RunContext& ctx) {
  // A preview leaves both closed: opening either would create or empty it.
  if (!ctx.preview) ctx.programLog = OpenNamedFile(ctx, "KEEP_LOG", "LOG");
  LogWrite(ctx, "\n\n\xFE Zirka 3.8 started at " + platform::CalendarText(ctx.startTime));

  if (ctx.forced) {
    WriteMessage(ctx, "\xFE Forced analisis.\n", Channel::ToBoth);
    Debug(ctx, "Ignoring Last_Time variable and assuming all log files are new...\n");
  }

  Print(ctx, "\xFE Reading ");
  Print(ctx, ctx.mainCtlPath);
  Print(ctx, "\n");

  if (!ctx.preview) ctx.report = OpenNamedFile(ctx, "KEEP_REPORT", "REPORT");
  NoteUnknownKeyword(ctx);
}

}  // namespace zirka
