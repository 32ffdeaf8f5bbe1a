#include "logscan/qico_line.h"

#include <gtest/gtest.h>

#include <string>

#include "support/line_cases.h"

namespace zirka {
namespace {

using testing::LineCase;

const LineCase kCases[] = {
    // The lines of a qico session: only the [ok] lines are sends.
    {"15 Mar 24 14:22:05 binkp[4711]: sent: arj250.exe, 225392 bytes, 2204 cps [ok]",
     "15/03 14:22:05", "ARJ250.EXE"},
    {"15 Mar 24 14:22:40 ttyS1[4712]: sent: nodediff.a75, 51234 bytes (from 20480), 1024 cps [ok]",
     "15/03 14:22:40", "NODEDIFF.A75"},
    {"15 Mar 24 14:23:00 tcpip[4713]: sent: pkz204g.exe, 0 bytes, 0 cps [skipped]", "15/03 14:23:00", ""},
    {"15 Mar 24 14:23:05.123 tcpip[4713]: sent: foo.zip, 1000 bytes, 1000 cps [ok]",
     "15/03 14:23:05", "FOO.ZIP"},
    // Paths, blanks and commas in a name, long names.
    {"01 Jan 99 00:00:00 qico[1]: sent: /home/fido/files/Util/Rar250.exe, 1 bytes, 1 cps [ok]",
     "01/01 00:00:00", "RAR250.EXE"},
    {"31 Dec 26 23:59:59 tty0[9]: sent: c:\\out\\my file, v2.zip, 5 bytes, 5 cps [ok]",
     "31/12 23:59:59", "MY FILE, V2.ZIP"},
    {"07 Jun 24 09:00:00 binkp[7]: sent: super-long-file-name-here.tar.gz, 9 bytes, 9 cps [ok]",
     "07/06 09:00:00", "SUPER-LONG-FILE-NAME-HERE.TAR.GZ"},
    // Dated lines that are no sends.
    {"07 Jul 24 09:00:00 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [suspended]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [error]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [ok] ", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: sent: foo.zip, 1 bytes, 1 cps", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: sent: foo.zip, 1 bytes, cps [ok]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: sent: foo.zip, bytes, 1 cps [ok]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: sent: foo.zip 1 bytes, 1 cps [ok]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: sent: foo.zip, 1 bytes (from ), 1 cps [ok]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: sent: foo.zip, 1 bytes (to 2), 1 cps [ok]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: sent: , 1 bytes, 1 cps [ok]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: sent: /files/, 1 bytes, 1 cps [ok]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: rcvd: foo.zip, 1 bytes, 1 cps [ok]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: Sent: foo.zip, 1 bytes, 1 cps [ok]", "07/07 09:00:00", ""},
    {"07 Jul 24 09:00:00 binkp[7]: ", "07/07 09:00:00", ""},
    // No shape, no time.
    {"", "", ""},
    {"07 Jul 24 09:00:00 binkp[7]:", "", ""},
    {"07 Jul 24 09:00:00 binkp: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"07 Jul 24 09:00:00 [7]: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"07 Jul 24 09:00:00 binkp[]: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"07 Jul 24 09:00:00 binkp[7] sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"07 Jul 24 09:00:00.12 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"07 Jul 24 09:00:00,123 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"07 Jul 2024 09:00:00 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"7 Jul 24 09:00:00 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"00 Jul 24 09:00:00 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"07 jul 24 09:00:00 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"07 Jul 24 24:00:00 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"07 Jul 24 09:00:60 binkp[7]: sent: foo.zip, 1 bytes, 1 cps [ok]", "", ""},
    {"+ 07 Jul 09:00:00 [1] sent: /f/a.zip (1, 1.00 CPS, 2:5020/1)", "", ""},
};

TEST(ParseQicoLine, TimesAndSends) { testing::ExpectParsedLines(ParseQicoLine, kCases); }

}  // namespace
}  // namespace zirka
