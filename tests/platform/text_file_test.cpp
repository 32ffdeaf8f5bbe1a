#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "support/failing_raw_file.h"
#include "support/memory_file.h"

namespace zirka::platform {
namespace {

std::vector<std::string> Pieces(const std::string& raw, std::size_t max) {
  auto file = MakeMemoryText(std::make_shared<std::string>(raw));
  std::vector<std::string> out;
  std::string piece;
  while (file->ReadPiece(piece, max)) out.push_back(piece);
  return out;
}

TEST(TextFileRead, DropsCrBeforeLfAndKeepsLoneCr) {
  EXPECT_EQ(Pieces("a\r\nb\rc\r\n\r", 80),
            (std::vector<std::string>{"a\n", "b\rc\n", "\r"}));
}

TEST(TextFileRead, CtrlZEndsTheFile) {
  EXPECT_EQ(Pieces("one\r\ntw\x1ao\r\nthree\r\n", 80),
            (std::vector<std::string>{"one\n", "tw"}));
}

TEST(TextFileRead, PiecesAsFgetsGivesThem) {
  // A line of exactly N characters: the line feed comes back as a piece of its own.
  EXPECT_EQ(Pieces("abcd\nabcdefg\nxy", 4),
            (std::vector<std::string>{"abcd", "\n", "abcd", "efg\n", "xy"}));
}

// The pieces fgets with a buffer of max + 1 bytes gives over the text the file
// stands for: everything before the first Ctrl-Z, each CR directly before an LF dropped.
std::vector<std::string> ModelPieces(const std::string& raw, std::size_t max) {
  std::string text;
  for (std::size_t i = 0; i < raw.size() && raw[i] != '\x1a'; ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text.push_back(raw[i]);
  }
  std::vector<std::string> out;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t lf = text.find('\n', start);
    const std::size_t end = std::min({lf == std::string::npos ? text.size() : lf + 1,
                                      start + max, text.size()});
    out.push_back(text.substr(start, end - start));
    start = end;
  }
  return out;
}

TEST(TextFileRead, ViewsAndCopiesGiveTheModelPiecesAtEveryBufferBoundary) {
  std::mt19937 random(9);
  // Mostly plain bytes, with every byte that needs a decision and long runs.
  const std::string alphabet("ab\r\n\r\n\x1a\0 ", 10);
  for (int round = 0; round < 400; ++round) {
    std::string raw;
    const std::size_t length = random() % 1500;
    while (raw.size() < length) {
      const char c = alphabet[random() % alphabet.size()];
      if (c == '\x1a' && random() % 8 != 0) continue;  // a Ctrl-Z now and then
      raw.append(c == 'a' ? random() % 420 : 1, c);
    }
    for (const std::size_t max : {180u, 255u, 399u, 1u, 2u}) {
      const std::vector<std::string> want = ModelPieces(raw, max);
      const std::size_t buffer = max + 1 + random() % 200;
      auto views = MakeMemoryText(std::make_shared<std::string>(raw), "V", buffer);
      auto copies = MakeMemoryText(std::make_shared<std::string>(raw), "C", buffer);
      // The views are read again from a piece they have passed, found by Tell.
      const std::size_t markAt = want.empty() ? 0 : random() % want.size();
      std::uint64_t mark = 0;
      std::vector<std::string> gotViews, gotCopies, again;
      PieceView view;
      for (auto* got : {&gotViews, &again}) {
        while (views->NextPiece(view, max)) {
          ASSERT_LE(view.size(), max);
          ASSERT_EQ(view.text.find('\n'), std::string_view::npos);
          got->push_back(std::string(view.text) + (view.lineFeed ? "\n" : ""));
          if (got == &gotViews && gotViews.size() == markAt) mark = views->Tell();
        }
        ASSERT_TRUE(views->Seek(mark));
      }
      std::string piece;
      while (copies->ReadPiece(piece, max)) gotCopies.push_back(piece);
      ASSERT_EQ(gotViews, want) << "round " << round << " max " << max;
      ASSERT_EQ(gotCopies, want) << "round " << round << " max " << max;
      ASSERT_EQ(again, std::vector<std::string>(want.begin() + static_cast<long>(markAt), want.end()))
          << "round " << round << " max " << max;
    }
  }
}

// A byte order mark at the head of a file is not part of its text, whatever the
// size of the read buffer; the file tells that it had one. Elsewhere it is text.
TEST(TextFileRead, AByteOrderMarkAtTheHeadIsDroppedAndTold) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string text = "arj250.exe [003]\r\n" + std::string(300, 'a') + "\n" + bom + "x\n";
  for (const std::size_t buffer : {8u, 17u, 300u, 4096u}) {
    for (const std::size_t max : {1u, 2u, 4u, 255u, 399u}) {
      auto file = MakeMemoryText(std::make_shared<std::string>(bom + text), "B", buffer);
      EXPECT_TRUE(file->StartsWithByteOrderMark());
      std::vector<std::string> got;
      std::string piece;
      while (file->ReadPiece(piece, max)) got.push_back(piece);
      EXPECT_EQ(got, ModelPieces(text, max)) << "buffer " << buffer << " max " << max;
      ASSERT_TRUE(file->Rewind());
      ASSERT_TRUE(file->ReadPiece(piece, 399));
      EXPECT_EQ(piece, "arj250.exe [003]\n");
      EXPECT_TRUE(file->StartsWithByteOrderMark());
    }
  }
  EXPECT_EQ(Pieces("\xEF\xBB", 80), (std::vector<std::string>{"\xEF\xBB"}));
  EXPECT_EQ(Pieces(bom, 80), (std::vector<std::string>{}));
  auto plain = MakeMemoryText(std::make_shared<std::string>("a" + bom));
  EXPECT_FALSE(plain->StartsWithByteOrderMark());
  EXPECT_EQ(Pieces("a" + bom, 80), (std::vector<std::string>{"a" + bom}));
}

TEST(TextFileRead, KeepsNulBytes) {
  const std::string raw("a\0b\r\n", 5);
  EXPECT_EQ(Pieces(raw, 80), (std::vector<std::string>{std::string("a\0b\n", 4)}));
}

TEST(TextFileRead, TellAndSeekResumeAPiece) {
  auto file = MakeMemoryText(std::make_shared<std::string>("first\r\nsecond\r\nthird\r\n"));
  std::string piece;
  ASSERT_TRUE(file->ReadPiece(piece, 80));
  const auto mark = file->Tell();
  EXPECT_EQ(mark, 7u);
  ASSERT_TRUE(file->ReadPiece(piece, 80));
  ASSERT_TRUE(file->ReadPiece(piece, 80));
  EXPECT_EQ(piece, "third\n");
  ASSERT_TRUE(file->Seek(mark));
  ASSERT_TRUE(file->ReadPiece(piece, 80));
  EXPECT_EQ(piece, "second\n");
}

TEST(TextFileRead, ALimitEndsReadsWhereAnEarlierReadFoundTheEnd) {
  // An earlier reader saw the file end in "par\r"; the rest came later.
  auto file = MakeMemoryText(std::make_shared<std::string>("first\r\npar\r\ntial\r\n"));
  file->LimitReadsTo(11);
  ASSERT_TRUE(file->Seek(7));
  std::string piece;
  ASSERT_TRUE(file->ReadPiece(piece, 80));
  EXPECT_EQ(piece, "par\r");
  EXPECT_FALSE(file->ReadPiece(piece, 80));
  EXPECT_EQ(file->Tell(), 11u);
  EXPECT_FALSE(file->readFailed());
}

TEST(TextFileWrite, LineFeedsBecomeCrLf) {
  auto data = std::make_shared<std::string>();
  auto file = MakeMemoryText(data);
  file->Write("a\nb");
  file->Write(std::string("\0\n", 2));
  ASSERT_TRUE(file->Close());
  EXPECT_EQ(*data, std::string("a\r\nb\0\r\n", 7));
}

}  // namespace
}  // namespace zirka::platform

namespace zirka::platform {
namespace {

TEST(TextFileRead, AReadErrorEndsThePiecesAndIsRemembered) {
  TextFile file(std::make_unique<testing::FailingReadFile>("one\r\ntwo\r\nthree\r\n", 8), "X");
  std::string piece;
  ASSERT_TRUE(file.ReadPiece(piece, 80));
  EXPECT_EQ(piece, "one\n");
  ASSERT_TRUE(file.ReadPiece(piece, 80));
  EXPECT_EQ(piece, "two");
  EXPECT_FALSE(file.ReadPiece(piece, 80));
  EXPECT_TRUE(file.readFailed());
  // Reading again from the start is a fresh attempt.
  ASSERT_TRUE(file.Rewind());
  EXPECT_FALSE(file.readFailed());
}

}  // namespace
}  // namespace zirka::platform
