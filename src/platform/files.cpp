// What the file operations of both hosts share.

#include "platform/files.h"

#include "platform/file_names.h"

namespace zirka::platform {

std::unique_ptr<TextFile> OpenText(const std::string& dosPath, Mode mode, Share share) {
  OpenFailure why;
  return OpenText(dosPath, mode, share, why);
}

std::optional<FileId> FileIdOf(const std::string& dosPath) {
  if (NamesNoFile(dosPath)) return std::nullopt;
  return IdOf(HostPath(dosPath), false);
}

std::optional<FileId> DirectoryIdOf(const std::string& dosPath) {
  if (NamesNoFile(dosPath)) return std::nullopt;
  return IdOf(DirectoryOf(HostPath(dosPath)), true);
}

void TakeOverAttributes(TextFile& temp, const std::string& targetPath) {
  if (NamesNoFile(targetPath)) return;
  if (RawFile* raw = temp.raw()) raw->TakeOverAttributes(HostPath(targetPath));
}

std::optional<FileStamp> StampOf(TextFile& file) {
  RawFile* raw = file.raw();
  FileStamp stamp;
  if (raw == nullptr ||
      !raw->Stamp(stamp.id.volume, stamp.id.number, stamp.size, stamp.modified)) {
    return std::nullopt;
  }
  return stamp;
}

}  // namespace zirka::platform
