#pragma once
// Test doubles for files: the platform's file interfaces over a string in memory.

#include <memory>
#include <string>

#include "platform/raw_file.h"
#include "platform/text_file.h"

namespace zirka::platform {

// A RawFile over a shared string, for tests of everything that reads or writes
// text: reads come from `contents`, writes are appended to it.
std::unique_ptr<RawFile> MakeMemoryRawFile(std::shared_ptr<std::string> contents);

// A text stream over a shared string (see MakeMemoryRawFile).
std::unique_ptr<TextFile> MakeMemoryText(std::shared_ptr<std::string> contents,
                                         std::string name = "MEMORY",
                                         std::size_t bufferSize = TextFile::kBufferSize);

}  // namespace zirka::platform
