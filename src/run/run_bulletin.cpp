#include "run/run_bulletin.h"

#include "core/keyword.h"
#include "core/messages.h"
#include "core/text.h"
#include "filelist/files_bbs.h"
#include "platform/system.h"

namespace zirka {

namespace {

// BULLETIN_TOP: a number from 1 to 999, digits only; anything else gives the default.
int TopSetting(const RunContext& ctx) {
  const std::string value = FirstKeywordValue(*ctx.mainCtl, "BULLETIN_TOP");
  if (value.empty()) return kDefaultBulletinTop;
  int top = 0;
  for (const char c : value) {
    if (!IsDigit(c) || top > kMaxBulletinTop) {
      top = 0;
      break;
    }
    top = top * 10 + (c - '0');
  }
  if (top >= 1 && top <= kMaxBulletinTop) return top;
  Debug(ctx, "?WARN-BULLETIN_TOP " + value + " is not a number from 1 to 999: " +
                 Format("%d rows are written\n", kDefaultBulletinTop));
  return kDefaultBulletinTop;
}

}  // namespace

RunBulletin::RunBulletin(const RunContext& ctx)
    : path_(FirstKeywordValue(*ctx.mainCtl, "BULLETIN")) {
  const int top = TopSetting(ctx);
  if (!path_.empty()) ranking_.emplace(ctx.areaTable, top);
}

ListEntrySink* RunBulletin::ReadingLists() {
  listsRead_ = true;
  return ranking_ ? &*ranking_ : nullptr;
}

bool RunBulletin::Due(const RunContext& ctx, bool completing) {
  if (!ranking_) return false;
  if (completing && !listsRead_) {
    ReadFileAreas(ctx.areaTable, ctx.settings, ctx.out(), *ranking_);
    listsRead_ = true;
  }
  return completing || ranking_->anyRaised();
}

std::string RunBulletin::Text(const RunContext& ctx) const {
  std::string when = platform::CalendarText(ctx.startTime);
  if (!when.empty() && when.back() == '\n') when.pop_back();
  return ranking_->Text(when, ctx.settings.keepNameCase);
}

void RunBulletin::Write(const RunContext& ctx, bool completing) {
  if (!Due(ctx, completing)) return;
  if (WriteBulletin(path_, Text(ctx))) {
    PrintAndLog(ctx, "\xFE Bulletin " + path_ + " written\n");
  } else {
    PrintAndLog(ctx, "!ERR-Cann't write bulletin " + path_ + "\n");
  }
}

void RunBulletin::Preview(const RunContext& ctx, bool completing) {
  if (!ranking_) return;
  if (!Due(ctx, completing)) {
    Print(ctx, "\xFE Preview: bulletin " + path_ + " would stay as it is\n");
    return;
  }
  Print(ctx, "\xFE Preview: bulletin " + path_ + " would be written like this\n" + Text(ctx));
}

}  // namespace zirka
