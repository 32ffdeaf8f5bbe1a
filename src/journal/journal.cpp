#include "journal/journal.h"

#include <charconv>

#include "core/replacement.h"
#include "platform/files.h"

namespace zirka::journal {

namespace {

constexpr std::string_view kTitle = "; Zirka journal of an unfinished run - do not edit";
constexpr std::string_view kAllDone = "All done";
// A journal is a few lines per area; anything far larger is not one.
constexpr std::uint64_t kMaxJournalBytes = 16u << 20;
constexpr std::size_t kPiece = 4096;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// DD/MM HH:MM:SS with digits where digits belong and a real day and month.
bool IsLogTime(std::string_view t) {
  static constexpr std::string_view kPattern = "99/99 99:99:99";
  if (t.size() != kPattern.size()) return false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (kPattern[i] == '9' ? !IsDigit(t[i]) : t[i] != kPattern[i]) return false;
  }
  const int day = (t[0] - '0') * 10 + (t[1] - '0');
  const int month = (t[3] - '0') * 10 + (t[4] - '0');
  return day >= 1 && day <= 31 && month >= 1 && month <= 12;
}

// A decimal number without sign or leading zero; `rest` gets what follows it.
template <typename Number>
bool TakeNumber(std::string_view& text, Number& value) {
  std::size_t n = 0;
  while (n < text.size() && IsDigit(text[n])) ++n;
  if (n == 0 || (n > 1 && text[0] == '0')) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + n, value);
  if (ec != std::errc() || end != text.data() + n) return false;
  text.remove_prefix(n);
  return true;
}

// "Keyword value": true, with the value, when `line` starts with the keyword and
// a blank (or is the keyword alone, with `emptyOk`).
bool Keyword(std::string_view line, std::string_view keyword, std::string_view& value,
             bool emptyOk = false) {
  if (line == keyword && emptyOk) {
    value = {};
    return true;
  }
  if (line.size() <= keyword.size() + 1 || line.substr(0, keyword.size()) != keyword ||
      line[keyword.size()] != ' ') {
    return false;
  }
  value = line.substr(keyword.size() + 1);
  return true;
}

// The line-by-line reading of a journal text, with the faults it finds.
class Parser {
 public:
  Parser(Journal& journal, std::string& error) : j_(journal), error_(error) {}

  bool Line(std::size_t number, std::string_view line) {
    number_ = number;
    for (const char c : line) {
      if (static_cast<unsigned char>(c) < 0x20) return Fail("a control character");
    }
    if (j_.allDone) return Fail("a line after \"All done\"");
    switch (number) {
      case 1:
        return line == kTitle || Fail("not a Zirka journal");
      case 2:
        return Text(line, "Control", j_.control);
      case 3:
        return Time(line, "Last_Time", j_.lastTime);
      case 4:
        return Time(line, "Started", j_.started);
      case 5:
        if (line == "Forced Yes" || line == "Forced No") {
          j_.forced = line == "Forced Yes";
          return true;
        }
        return Fail("not \"Forced Yes\" or \"Forced No\"");
      default:
        return Step(line);
    }
  }

  bool End(std::size_t lines) {
    number_ = lines;
    if (lines == 0) {
      number_ = 1;
      return Fail("not a Zirka journal");
    }
    if (lines < 5) return Fail("the journal ends before its Forced line");
    return true;
  }

 private:
  bool Fail(std::string_view what) {
    error_ = "line " + std::to_string(number_) + ": " + std::string(what);
    return false;
  }

  bool Text(std::string_view line, std::string_view keyword, std::string& out) {
    std::string_view value;
    if (!Keyword(line, keyword, value)) return Fail("no \"" + std::string(keyword) + "\" path");
    out.assign(value);
    return true;
  }

  bool Time(std::string_view line, std::string_view keyword, std::string& out) {
    std::string_view value;
    if (!Keyword(line, keyword, value, true)) return Fail("no \"" + std::string(keyword) + "\"");
    if (!value.empty() && !IsLogTime(value)) {
      return Fail(std::string(keyword) + " " + std::string(value) + " is not DD/MM HH:MM:SS");
    }
    out.assign(value);
    return true;
  }

  bool Step(std::string_view line) {
    std::string_view rest;
    if (Keyword(line, "Log", rest)) {
      if (!j_.steps.empty()) return Fail("a Log line after the areas began");
      LogRange range;
      if (!TakeNumber(rest, range.start) || rest.empty() || rest[0] != ' ') return Fail("bad Log");
      rest.remove_prefix(1);
      if (!TakeNumber(rest, range.end) || rest.size() < 2 || rest[0] != ' ') return Fail("bad Log");
      if (range.end < range.start) return Fail("a Log range that ends before it starts");
      range.path.assign(rest.substr(1));
      j_.logs.push_back(std::move(range));
      return true;
    }
    if (line == "Pos none") {
      if (!j_.steps.empty()) return Fail("a Pos line after the areas began");
      j_.hasPositions = true;
      return true;
    }
    if (Keyword(line, "Pos", rest)) {
      if (!j_.steps.empty()) return Fail("a Pos line after the areas began");
      LogPosition position;
      if (!ParsePositionText(rest, position)) return Fail("bad Pos");
      j_.positions.push_back(std::move(position));
      j_.hasPositions = true;
      return true;
    }
    if (Keyword(line, "Ready", rest)) {
      AreaStep step;
      if (!TakeNumber(rest, step.index) || step.index == 0 || rest.size() < 2 || rest[0] != ' ') {
        return Fail("bad Ready");
      }
      if (!j_.steps.empty() && step.index <= j_.steps.back().index) {
        return Fail("areas out of order");
      }
      step.list.assign(rest.substr(1));
      j_.steps.push_back(std::move(step));
      return true;
    }
    if (Keyword(line, "Done", rest)) {
      int index = 0;
      if (!TakeNumber(rest, index) || !rest.empty()) return Fail("bad Done");
      AreaStep* step = j_.PendingStep(index);
      if (step == nullptr) return Fail("Done without its Ready");
      step->done = true;
      return true;
    }
    if (Keyword(line, "Back", rest)) {
      int index = 0;
      if (!TakeNumber(rest, index) || !rest.empty()) return Fail("bad Back");
      const AreaStep* step = j_.PendingStep(index);
      if (step == nullptr) return Fail("Back without its Ready");
      j_.steps.erase(j_.steps.begin() + (step - j_.steps.data()));
      return true;
    }
    if (line == kAllDone) {
      if (j_.AnyPending()) return Fail("All done before the last area was done");
      j_.allDone = true;
      return true;
    }
    return Fail("not a journal line");
  }

  Journal& j_;
  std::string& error_;
  std::size_t number_ = 0;
};

}  // namespace

std::string JournalPath(const std::string& mainCtlPath) {
  // Beside the file the control file is, through its links.
  return TemporaryName(platform::FinalPath(mainCtlPath), ".JNL");
}

const AreaStep* Journal::Step(int index) const {
  for (const AreaStep& step : steps) {
    if (step.index == index) return &step;
  }
  return nullptr;
}

AreaStep* Journal::PendingStep(int index) {
  for (AreaStep& step : steps) {
    if (step.index == index) return step.done ? nullptr : &step;
  }
  return nullptr;
}

bool Journal::AnyPending() const {
  for (const AreaStep& step : steps) {
    if (!step.done) return true;
  }
  return false;
}

void SettlePending(Journal& journal) {
  for (AreaStep& step : journal.steps) {
    if (step.done) continue;
    // The list rewrite's replacement file, beside the file the list is through its
    // links: FILES.BBS gives FILES.!#$. No two pending steps share one.
    if (!platform::PathExists(TemporaryName(platform::FinalPath(step.list), ".!#$"))) {
      step.done = true;
    }
  }
}

std::string Format(const Journal& journal) {
  std::string text(kTitle);
  text += "\nControl " + journal.control + "\n";
  text += journal.lastTime.empty() ? "Last_Time\n" : "Last_Time " + journal.lastTime + "\n";
  text += journal.started.empty() ? "Started\n" : "Started " + journal.started + "\n";
  text += journal.forced ? "Forced Yes\n" : "Forced No\n";
  for (const LogRange& log : journal.logs) {
    text += "Log " + std::to_string(log.start) + " " + std::to_string(log.end) + " " + log.path +
            "\n";
  }
  if (journal.hasPositions && journal.positions.empty()) text += "Pos none\n";
  for (const LogPosition& position : journal.positions) {
    text += "Pos " + PositionText(position) + "\n";
  }
  for (const AreaStep& step : journal.steps) {
    text += "Ready " + std::to_string(step.index) + " " + step.list + "\n";
    if (step.done) text += "Done " + std::to_string(step.index) + "\n";
  }
  if (journal.allDone) text += std::string(kAllDone) + "\n";
  return text;
}

bool Parse(std::string_view text, Journal& journal, std::string& error) {
  journal = Journal{};
  if (text.empty()) {
    error = "the journal is empty";
    return false;
  }
  Parser parser(journal, error);
  std::size_t number = 0;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    if (lf == std::string_view::npos) break;  // cut short by a crash: never written whole
    std::string_view line = text.substr(0, lf);
    text.remove_prefix(lf + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!parser.Line(++number, line)) return false;
  }
  return parser.End(number);
}

JournalFile::JournalFile(std::string path, Journal journal,
                         std::unique_ptr<platform::TextFile> file)
    : path_(std::move(path)), journal_(std::move(journal)), file_(std::move(file)) {}

JournalFile::~JournalFile() = default;

std::unique_ptr<JournalFile> JournalFile::Create(const std::string& path,
                                                 const Journal& journal) {
  // A journal that the next run could not read back (a time that is not one, a
  // path with a control character) is not written at all.
  Journal check;
  std::string error;
  const std::string text = Format(journal);
  if (!Parse(text, check, error)) return nullptr;
  // A journal that a live run holds is never replaced (a rename would not ask).
  if (platform::PathExists(path)) {
    platform::OpenFailure why = platform::OpenFailure::Other;
    if (!platform::OpenText(path, platform::Mode::Read, platform::Share::DenyWrite, why) &&
        why == platform::OpenFailure::Busy) {
      return nullptr;
    }
  }
  const std::string tempPath = TemporaryName(path, ".JN$");
  auto temp = platform::OpenText(tempPath, platform::Mode::Create, platform::Share::DenyAll);
  if (!temp) return nullptr;
  const bool written = temp->Write(text);
  if (!FinishReplacement(std::move(temp), tempPath, path, written, [] { return true; })) {
    return nullptr;
  }
  auto file = platform::OpenText(path, platform::Mode::Append, platform::Share::DenyAll);
  if (!file) return nullptr;
  return std::make_unique<JournalFile>(path, journal, std::move(file));
}

bool JournalFile::Append(const std::string& line, bool flush) {
  if (!file_ || !file_->Write(line)) return false;
  return flush ? file_->Flush() : file_->WriteOut();
}

bool JournalFile::AlreadyReplaced(int index) const {
  const AreaStep* step = journal_.Step(index);
  return step != nullptr && step->done;
}

bool JournalFile::Ready(const std::vector<ReadyList>& lists) {
  std::string lines;
  std::vector<AreaStep> added;
  for (const ReadyList& ready : lists) {
    // The step of a list an interrupted run left pending is there already.
    if (journal_.PendingStep(ready.number) != nullptr) continue;
    lines += "Ready " + std::to_string(ready.number) + " " + ready.list + "\n";
    added.push_back({ready.number, ready.list, false});
  }
  if (lines.empty()) return true;
  if (!Append(lines, true)) return false;
  journal_.steps.insert(journal_.steps.end(), added.begin(), added.end());
  return true;
}

bool JournalFile::Withdraw(const std::vector<int>& numbers) {
  std::string lines;
  for (const int number : numbers) {
    if (journal_.PendingStep(number) != nullptr) lines += "Back " + std::to_string(number) + "\n";
  }
  if (lines.empty()) return true;
  if (!Append(lines, true)) return false;
  for (const int number : numbers) {
    if (const AreaStep* step = journal_.PendingStep(number)) {
      journal_.steps.erase(journal_.steps.begin() + (step - journal_.steps.data()));
    }
  }
  return true;
}

void JournalFile::Done(int index) {
  AreaStep* step = journal_.PendingStep(index);
  if (step == nullptr) return;
  step->done = true;
  Append("Done " + std::to_string(index) + "\n", false);
}

bool JournalFile::AllDone() {
  journal_.allDone = true;
  return Append(std::string(kAllDone) + "\n", true);
}

bool JournalFile::Remove() {
  if (!file_) return false;
  const bool closed = file_->Close();
  file_.reset();
  return platform::RemoveFileDurably(path_) && closed;
}

Existing ReadJournal(const std::string& mainCtlPath) {
  Existing result;
  const std::string path = JournalPath(mainCtlPath);
  if (!platform::PathExists(path)) return result;
  platform::OpenFailure why = platform::OpenFailure::Other;
  // Read, denying others write access: a live run's hold (deny all) refuses it.
  auto file = platform::OpenText(path, platform::Mode::Read, platform::Share::DenyWrite, why);
  if (!file) {
    result.found = why == platform::OpenFailure::Missing ? Found::None
                   : why == platform::OpenFailure::Busy  ? Found::Held
                                                         : Found::Unreadable;
    return result;
  }
  std::string text;
  std::string piece;
  while (file->ReadPiece(piece, kPiece)) {
    text += piece;
    if (text.size() > kMaxJournalBytes) {
      result.found = Found::Bad;
      result.error = "far too long for a journal";
      return result;
    }
  }
  if (file->readFailed()) {
    result.found = Found::Unreadable;
    return result;
  }
  file->Close();
  if (!Parse(text, result.journal, result.error)) {
    result.found = Found::Bad;
  } else if (result.journal.control != mainCtlPath) {
    result.found = Found::Bad;
    result.error = "written by a run of " + result.journal.control;
  } else {
    result.found = Found::Usable;
  }
  return result;
}

std::string TroubleLine(const std::string& journalPath, const Existing& existing) {
  switch (existing.found) {
    case Found::Held:
      return "!ERR-Journal " + journalPath + " is in use by another run of Zirka\n";
    case Found::Unreadable:
      return "!ERR-Cann't read journal " + journalPath + "\n";
    case Found::Bad:
      return "!ERR-Journal " + journalPath + " makes no sense (" + existing.error + ")\n";
    default:
      return {};
  }
}

std::string ChangedLogLine(const std::string& journalPath, const std::string& logPath) {
  return "!ERR-Log " + logPath + " no longer holds what journal " + journalPath + " counted\n";
}

std::string CompletingLine(const Journal& journal) {
  if (journal.forced || journal.started.empty()) {
    return "\xFE Completing an interrupted run that counted every log line\n";
  }
  return "\xFE Completing an interrupted run that counted from " + journal.started + "\n";
}

}  // namespace zirka::journal
