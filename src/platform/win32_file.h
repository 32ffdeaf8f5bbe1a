#pragma once
// Pieces of the Win32 layer shared between its files (not for the rest of the program).

#include <cstdio>
#include <memory>

#include "platform/raw_file.h"

namespace zirka::platform {

// A RawFile over a stream opened in binary mode; it owns the stream.
std::unique_ptr<RawFile> MakeStdioRawFile(std::FILE* file);

}  // namespace zirka::platform
