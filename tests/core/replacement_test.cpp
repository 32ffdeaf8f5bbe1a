#include "core/replacement.h"

#include <gtest/gtest.h>

namespace zirka {
namespace {

TEST(TemporaryName, ReplacesTheExtensionOfTheFileNameOnly) {
  EXPECT_EQ(TemporaryName("D:\\FILES\\UTIL\\FILES.BBS", ".!#$"), "D:\\FILES\\UTIL\\FILES.!#$");
  EXPECT_EQ(TemporaryName("C:\\FIDO\\ZIRKA.EXE", ".$#!"), "C:\\FIDO\\ZIRKA.$#!");
  // Everything from the last dot goes.
  EXPECT_EQ(TemporaryName("C:\\FIDO\\ZIRKA.OLD.EXE", ".$#!"), "C:\\FIDO\\ZIRKA.OLD.$#!");
  // A dot in a directory name is not the file's extension.
  EXPECT_EQ(TemporaryName("C:\\FIDO.D\\ZIRKA", ".$#!"), "C:\\FIDO.D\\ZIRKA.$#!");
  EXPECT_EQ(TemporaryName("ZIRKA", ".$#!"), "ZIRKA.$#!");
}

}  // namespace
}  // namespace zirka
