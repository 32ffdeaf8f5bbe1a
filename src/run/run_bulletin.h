#pragma once
// The top-downloads bulletin's part in a run (BULLETIN, BULLETIN_TOP): the lists'
// entries are ranked while the run reads them, and the bulletin is written after
// the lists, before Last_Time is stored.

#include <optional>
#include <string>

#include "core/context.h"
#include "filelist/bulletin.h"

namespace zirka {

class RunBulletin {
 public:
  // Reads BULLETIN (a path, as LOG takes it) and BULLETIN_TOP (1 to 999; anything
  // else gives 10, with a ?WARN- line in debug mode). Needs the area table.
  explicit RunBulletin(const RunContext& ctx);

  // Where the run's reading of the lists tells each entry; null without a
  // bulletin. Asking for it counts as reading the lists.
  ListEntrySink* ReadingLists();

  // Writes the bulletin when the run raised an entry or completes an interrupted
  // run (whose lists are read here when this run did not read them); else leaves
  // it alone. A bulletin that can't be written is reported; the run goes on.
  void Write(const RunContext& ctx, bool completing);

  // In the preview, after the list changes: the bulletin the run would write.
  void Preview(const RunContext& ctx, bool completing);

 private:
  bool Due(const RunContext& ctx, bool completing);
  std::string Text(const RunContext& ctx) const;

  std::string path_;
  std::optional<BulletinRanking> ranking_;  // with a path only
  bool listsRead_ = false;
};

}  // namespace zirka
