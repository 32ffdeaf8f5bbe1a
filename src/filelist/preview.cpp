#include "filelist/preview.h"

#include <memory>

#include "core/messages.h"
#include "core/text.h"
#include "filelist/files_bbs.h"
#include "platform/files.h"
#include "platform/raw_file.h"

namespace zirka {

namespace {

// The lines of one list's raised entries, shown once the list has been read whole.
class PreviewLines : public RaisedEntrySink {
 public:
  void Raised(const SentFile& sent, const CounterChange& change) override {
    text_ += "\xFA ";
    AppendPadded(text_, sent.name, 13);
    text_ += ' ';
    text_ += change.before.empty() ? std::string("(none)") : change.before;
    text_ += " -> ";
    text_ += change.after;
    text_ += '\n';
    ++entries_;
  }
  const std::string& text() const { return text_; }
  int entries() const { return entries_; }

 private:
  std::string text_;
  int entries_ = 0;
};

}  // namespace

void PreviewFileAreas(const std::vector<std::string>& areas, const CounterSettings& settings,
                      SentTable& sentTable, const Output& out, ListEntrySink* watched) {
  Print(out, "\xFE Preview: the lists would change like this\n");
  int entries = 0;
  int lists = 0;
  int number = 0;
  for (const std::string& area : areas) {
    ++number;
    if (out.debug) Print(out, "Processing " + area + "\n");
    // Opened as the rewrite opens it, so that a list the rewrite can't read is
    // passed over here too.
    auto list = platform::OpenText(area, platform::Mode::Read, platform::Share::DenyWrite);
    PreviewLines lines;
    bool whole = false;
    if (list) {
      platform::TextFile nowhere = DiscardingText();
      whole = CopyFileList(settings, sentTable, out, *list, nowhere, &lines,
                           EntryWatch{watched, number});
    }
    if (!whole) {
      Print(out, "!ERR-Cann't read " + area + ": it would stay as it is\n");
    } else if (lines.entries() > 0) {
      Print(out, area + "\n" + lines.text());
      entries += lines.entries();
      ++lists;
    }
  }
  if (entries == 0) {
    Print(out, "\xFE Preview: no list would change\n");
  } else {
    Print(out, "\xFE Preview: " + Counted(entries, "entry", "entries") + " in " +
                   Counted(lists, "list", "lists") + " would change\n");
  }
}

}  // namespace zirka
