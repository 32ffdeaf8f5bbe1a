// Placeholder until this phase is built.
#include "logscan/sent_scan.h"
#include "run/terminate.h"

namespace zirka {
std::optional<std::string> NextSentFile(RunContext&, LogEntry&) { return std::nullopt; }
void ScanSentFiles(RunContext&) {}
bool SentTable::Add(const std::string&) { return false; }
SentFile* SentTable::Find(const std::string&) { return nullptr; }
}  // namespace zirka
