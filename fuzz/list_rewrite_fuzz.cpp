// A whole FILES.BBS copy over arbitrary list bytes, with a small fixed sent table.
//
// Input: one flag byte, then the list. Flags: bit 0 turns FIRST_ONLY off, bits 1-3
// pick the counter width (1 + value % 5), bit 4 turns debug mode on, bit 5 makes the
// lead character a blank, bit 6 the brackets '<' and '>'.
//
// The list is cut into 399-character pieces by the independent model of the DOS text
// stream. A piece that is empty, starts with a blank or '-', has a first word longer
// than 12 characters, or names no sent file (or, with FIRST_ONLY, only one that
// already raised an entry) must come out byte for byte as it went in; a piece that
// names a sent file must come out as FormatCounterLine makes it, which keeps its tail
// (checked by CheckCounterLine). So the output is exactly the model, written with CR
// LF line ends, nothing after a Ctrl-Z, a byte order mark at the head kept, and
// FIRST_ONLY marks exactly the sent files the model used.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "counter_check.h"
#include "filelist/counter_format.h"
#include "filelist/files_bbs.h"
#include "fuzz_support.h"
#include "platform/console.h"
#include "core/text.h"
#include "support/capture_screen.h"

namespace {

using namespace zirka;
using namespace zirka::fuzz;

// Names and counts of the sent files; the last two are longer than the 12
// characters a list entry can match.
const std::pair<const char*, int> kSent[] = {
    {"FOO.ZIP", 3}, {"BAR.ARJ", 1}, {"README", 2}, {"A", 1}, {"NODELIST.*", 1},
    {"LONGNAME1234", 4}, {"THIRTEEN.CHAR", 1}, {"VERYLONGNAME.ZIP", 2}};

// The first word of a file entry: up to the first blank, tab or LF.
std::size_t FirstWordEnd(const std::string& piece) {
  const std::size_t end = piece.find_first_of(" \t\n");
  return end == std::string::npos ? piece.size() : end;
}

// What the copy must write for `pieces`, with the sent files in `model` marked used
// as FIRST_ONLY has it.
std::string ExpectedCopy(RunContext& ctx, const std::vector<std::string>& pieces,
                         std::vector<SentFile>& model) {
  std::string expected;
  for (const std::string& piece : pieces) {
    const char first = piece.front();
    const std::size_t wordEnd = FirstWordEnd(piece);
    SentFile* match = nullptr;
    if (first != '\n' && first != ' ' && first != '-' && wordEnd <= 12) {
      for (SentFile& sent : model) {
        if (EqualsIgnoreCase(sent.name, std::string_view(piece).substr(0, wordEnd)) &&
            !(ctx.settings.firstOnly && sent.used)) {
          match = &sent;
          break;
        }
      }
    }
    if (match == nullptr) {
      expected += piece;
      continue;
    }
    const std::string raised = FormatCounterLine(ctx.settings, piece, wordEnd, *match, ctx.out());
    CheckCounterLine(ctx.settings, piece, *match, raised);
    expected += raised;
    if (ctx.settings.firstOnly) match->used = true;
  }
  return expected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t flags = data[0];
  const std::string_view list = AsText(data + 1, size - 1);

  platform::CaptureScreen screen;
  RunContext ctx(screen);
  ctx.settings.firstOnly = (flags & 1) == 0;
  ctx.settings.dlcDigits = 1 + ((flags >> 1) & 7) % 5;
  ctx.debug = (flags & 16) != 0;
  if (flags & 32) ctx.settings.leadChar = ' ';
  if (flags & 64) {
    ctx.settings.leftBracket = '<';
    ctx.settings.rightBracket = '>';
  }
  std::vector<SentFile> model;
  for (const auto& [name, times] : kSent) {
    for (int i = 0; i < times; ++i) ctx.sentTable.Add(name);
    model.push_back({name, times, false});
  }

  const std::string expected = (StartsWithByteOrderMark(list) ? "\xEF\xBB\xBF" : "") +
                               ExpectedCopy(ctx, DosPieces(list, kListPiece), model);

  auto in = ReadingText(list);
  auto out = std::make_shared<std::string>();
  auto temp = WritingText(out);
  ZIRKA_FUZZ_CHECK(CopyFileList(ctx.settings, ctx.sentTable, ctx.out(), *in, *temp));
  ZIRKA_FUZZ_CHECK(temp->Close());

  ZIRKA_FUZZ_CHECK(*out == DosEncode(expected));
  ZIRKA_FUZZ_CHECK(out->find('\x1a') == std::string::npos);
  const auto& records = ctx.sentTable.records();
  ZIRKA_FUZZ_CHECK(records.size() == model.size());
  for (std::size_t i = 0; i < model.size(); ++i) {
    ZIRKA_FUZZ_CHECK(records[i].name == model[i].name);
    ZIRKA_FUZZ_CHECK(records[i].times == model[i].times);
    if (ctx.settings.firstOnly) ZIRKA_FUZZ_CHECK(records[i].used == model[i].used);
  }
  return 0;
}
