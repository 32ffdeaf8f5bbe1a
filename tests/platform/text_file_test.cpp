#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <memory>
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
