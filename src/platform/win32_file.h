#pragma once
// Pieces of the Win32 layer shared between its files (not for the rest of the program).

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef ReplaceFile

#include <cstdint>
#include <cstdio>
#include <memory>

#include "platform/raw_file.h"

namespace zirka::platform {

// A file's id, size and modification time from its information.
void StampFrom(const BY_HANDLE_FILE_INFORMATION& info, std::uint64_t& volume,
               std::uint64_t& number, std::uint64_t& size, std::int64_t& modified);

// A RawFile over a stream opened in binary mode; it owns the stream.
std::unique_ptr<RawFile> MakeStdioRawFile(std::FILE* file);

}  // namespace zirka::platform
