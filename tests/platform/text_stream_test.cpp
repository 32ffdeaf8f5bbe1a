// DOS text streams over real files: the read buffer must never show.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "support/scratch_dir.h"

#if !defined(_WIN32)

namespace zirka::platform {
namespace {

constexpr std::size_t kBuffer = TextFile::kBufferSize;

class TextStreamTest : public ::testing::Test {
 protected:
  TextStreamTest() { scratch_.MapDriveD(); }

  std::vector<std::string> Pieces(const std::string& bytes, std::size_t max) {
    scratch_.Put("in.txt", bytes);
    auto file = OpenText("D:\\IN.TXT", Mode::Read, Share::DenyWrite);
    EXPECT_NE(file, nullptr);
    std::vector<std::string> out;
    std::string piece;
    while (file && file->ReadPiece(piece, max)) out.push_back(piece);
    return out;
  }

  testing::ScratchDir scratch_;
};

TEST_F(TextStreamTest, CrLfSplitAcrossTheReadBuffer) {
  // The CR is the buffer's last byte and its LF the next buffer's first.
  std::string bytes(kBuffer - 1, 'a');
  bytes += "\r\nnext\r\n";
  const auto pieces = Pieces(bytes, 2 * kBuffer);
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], std::string(kBuffer - 1, 'a') + "\n");
  EXPECT_EQ(pieces[1], "next\n");

  // A lone CR at the same place is kept.
  bytes = std::string(kBuffer - 1, 'a') + "\rb\n";
  EXPECT_EQ(Pieces(bytes, 2 * kBuffer),
            (std::vector<std::string>{std::string(kBuffer - 1, 'a') + "\rb\n"}));
}

TEST_F(TextStreamTest, LineLongerThanTheBufferComesInPieces) {
  std::string line;
  for (std::size_t i = 0; line.size() < 3 * kBuffer + 17; ++i) {
    line += static_cast<char>('a' + i % 26);
  }
  const auto pieces = Pieces(line + "\r\nshort\r\n", 399);
  std::string joined;
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
    EXPECT_LE(pieces[i].size(), 399u);
    joined += pieces[i];
  }
  EXPECT_EQ(joined, line + "\n");
  EXPECT_EQ(pieces.back(), "short\n");
  EXPECT_EQ(pieces.size(), (line.size() + 1 + 398) / 399 + 1);
}

TEST_F(TextStreamTest, CtrlZAndNulAndBareCrOnDisk) {
  const std::string bytes("a\0b\rc\r\n\r\r\nend\x1a" "after\r\n", 20);
  EXPECT_EQ(Pieces(bytes, 180),
            (std::vector<std::string>{std::string("a\0b\rc\n", 6), "\r\n", "end"}));
}

TEST_F(TextStreamTest, TellAndSeekAcrossBuffers) {
  std::string bytes;
  std::vector<std::uint64_t> starts;
  for (int i = 0; bytes.size() < 2 * kBuffer + 100; ++i) {
    starts.push_back(bytes.size());
    bytes += "line " + std::to_string(i) + "\r\n";
  }
  scratch_.Put("log.txt", bytes);
  auto file = OpenText("D:\\LOG.TXT", Mode::Read, Share::DenyWrite);
  ASSERT_NE(file, nullptr);
  std::string piece;
  std::uint64_t markAt = 0;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    ASSERT_EQ(file->Tell(), starts[i]);
    ASSERT_TRUE(file->ReadPiece(piece, 180));
    if (starts[i] > kBuffer + 10 && markAt == 0) markAt = i;
  }
  EXPECT_FALSE(file->ReadPiece(piece, 180));
  ASSERT_TRUE(file->Seek(starts[markAt]));
  ASSERT_TRUE(file->ReadPiece(piece, 180));
  EXPECT_EQ(piece, "line " + std::to_string(markAt) + "\n");
  ASSERT_TRUE(file->Rewind());
  ASSERT_TRUE(file->ReadPiece(piece, 180));
  EXPECT_EQ(piece, "line 0\n");
}

TEST_F(TextStreamTest, WrittenBytesComeBackAsTheyWent) {
  std::string text;
  for (int c = 0; c < 256; ++c) {
    if (c != '\r' && c != '\n' && c != 0x1a) text += static_cast<char>(c);
  }
  text += "\n";
  std::string big;
  while (big.size() < kBuffer + 5000) big += text;  // more than one write buffer
  {
    auto out = OpenText("D:\\OUT.TXT", Mode::Write, Share::DenyAll);
    ASSERT_NE(out, nullptr);
    ASSERT_TRUE(out->Write(big));
    ASSERT_TRUE(out->Flush());
    ASSERT_TRUE(out->Close());
  }
  std::string expectedOnDisk = big;
  for (std::size_t pos = 0; (pos = expectedOnDisk.find('\n', pos)) != std::string::npos; pos += 2) {
    expectedOnDisk.insert(pos, 1, '\r');
  }
  const std::string onDisk = scratch_.Slurp("OUT.TXT");
  ASSERT_EQ(onDisk.size(), expectedOnDisk.size());
  EXPECT_TRUE(onDisk == expectedOnDisk);
  auto in = OpenText("D:\\OUT.TXT", Mode::Read, Share::DenyWrite);
  ASSERT_NE(in, nullptr);
  std::string back, piece;
  while (in->ReadPiece(piece, 399)) back += piece;
  ASSERT_EQ(back.size(), big.size());
  EXPECT_TRUE(back == big);
}

}  // namespace
}  // namespace zirka::platform

#endif  // !_WIN32
