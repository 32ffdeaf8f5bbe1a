#include "logscan/binkd_line.h"

#include <gtest/gtest.h>

#include <string>

#include "support/line_cases.h"

namespace zirka {
namespace {

using testing::LineCase;

const LineCase kCases[] = {
    // Sends: POSIX and Windows paths, blanks and " (" inside the path, every mark.
    {"+ 07 Dec 14:30:15 [12345] sent: /var/spool/ftn/files/util/arj250.exe "
     "(225392, 2204.00 CPS, 2:5020/100@fidonet)",
     "07/12 14:30:15", "ARJ250.EXE"},
    {"+ 01 Jan 00:00:00 [7] sent: C:\\FTN\\Files\\Util\\Pkz204g.Exe (202574, 1912.00 CPS, 2:463/7@fidonet)",
     "01/01 00:00:00", "PKZ204G.EXE"},
    {"+ 31 Oct 23:59:59 [1] sent: d:\\my files\\old (1996) stuff\\read me.txt (12, 12.00 CPS, 2:5020/1)",
     "31/10 23:59:59", "READ ME.TXT"},
    {"- 15 Feb 09:05:00 [42] sent: /srv/ftn/a (b)/nodelist.z49 (184220, 3100.00 CPS, 2:5020/100)",
     "15/02 09:05:00", "NODELIST.Z49"},
    {"! 15 Mar 09:05:00 [42] sent: /srv/x.zip (1, 1.00 CPS, 2:5020/100)", "15/03 09:05:00", "X.ZIP"},
    {"? 15 Apr 09:05:00 [42] sent: x.zip (1, 1.00 CPS, 2:5020/100)", "15/04 09:05:00", "X.ZIP"},
    {"  15 May 09:05:00 [42] sent: c:x.zip (1, 1.00 CPS, 2:5020/100)", "15/05 09:05:00", "C:X.ZIP"},
    {"+ 15 Jun 09:05:00 [42] sent: /srv/x.zip (", "15/06 09:05:00", "X.ZIP"},
    // Dated lines that are no sends.
    {"+ 30 Jul 10:00:00 [42] rcvd: 0000fffe.mo0 (1400, 900.00 CPS, 2:5020/100@fidonet)", "30/07 10:00:00", ""},
    {"+ 30 Aug 10:00:00 [42] skipped /srv/ftn/files/rar250.exe (0, 0.00 CPS)", "30/08 10:00:00", ""},
    {"? 30 Sep 10:00:00 [42] remote refused /srv/ftn/files/rar250.exe", "30/09 10:00:00", ""},
    {"+ 30 Nov 10:00:00 [42] done (from 2:5020/100@fidonet, OK, S/R: 1/0 (225392/0 bytes))",
     "30/11 10:00:00", ""},
    {"  30 Nov 10:00:00 [42] session closed, quitting...", "30/11 10:00:00", ""},
    {"+ 30 Nov 10:00:00 [42] Sent: /srv/x.zip (1, 1.00 CPS, 2:5020/100)", "30/11 10:00:00", ""},
    {"+ 30 Nov 10:00:00 [42] sent:/srv/x.zip (1, 1.00 CPS, 2:5020/100)", "30/11 10:00:00", ""},
    {"+ 30 Nov 10:00:00 [42]  sent: /srv/x.zip (1, 1.00 CPS, 2:5020/100)", "30/11 10:00:00", ""},
    {"+ 30 Nov 10:00:00 [42] sent: /srv/files/ (1, 1.00 CPS, 2:5020/100)", "30/11 10:00:00", ""},
    {"+ 30 Nov 10:00:00 [42] sent: c:\\files\\ (1, 1.00 CPS, 2:5020/100)", "30/11 10:00:00", ""},
    {"+ 30 Nov 10:00:00 [42] sent: (1, 1.00 CPS, 2:5020/100)", "30/11 10:00:00", ""},
    {"+ 30 Nov 10:00:00 [42] sent: /srv/ftn/files/util/arj250.e", "30/11 10:00:00", ""},  // half written
    {"+ 30 Nov 10:00:00 [42] ", "30/11 10:00:00", ""},
    // No shape, no time.
    {"", "", ""},
    {"+ 7 Dec 14:30:15 [12345] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 00 Dec 14:30:15 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 32 Dec 14:30:15 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 07 dec 14:30:15 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 07 DEC 14:30:15 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 07 Dez 14:30:15 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 07 Dec 24:00:00 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 07 Dec 14:60:15 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 07 Dec 14:30:1x [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 07 Dec 14:30 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 07 Dec 14:3", "", ""},
    {"+ 07 Dec 14:30:15", "", ""},
    {"+ 07 Dec 14:30:15 [12345]", "", ""},
    {"+ 07 Dec 14:30:15 [] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 07 Dec 14:30:15 [12a] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+ 07 Dec 14:30:15 12345 sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"* 07 Dec 14:30:15 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"+07 Dec 14:30:15 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"\t07 Dec 14:30:15 [1] sent: /x.zip (1, 1.00 CPS, 2:5020/100)", "", ""},
    {"07/12 14:30:15 ZS-Sent D:\\FILES\\UTIL\\ARJ250.EXE 225392 bytes OK: 2204 cps", "", ""},
};

TEST(ParseBinkdLine, TimesAndSends) { testing::ExpectParsedLines(ParseBinkdLine, kCases); }

}  // namespace
}  // namespace zirka
