#include "logscan/argus_line.h"

#include <gtest/gtest.h>

#include <string>

#include "support/line_cases.h"

namespace zirka {
namespace {

using testing::LineCase;

const LineCase kCases[] = {
    // The lines of an Argus session: only the Sent lines are sends.
    {"  15-Mar-2024 14:22:03 Sending 'D:\\FILES\\UTIL\\ARJ250.EXE' (225392b)", "15/03 14:22:03", ""},
    {"  15-Mar-2024 14:22:05 Sent 'ARJ250.EXE'", "15/03 14:22:05", "ARJ250.EXE"},
    {"  15-Mar-2024 14:22:40 3120 CPS, Sent 'NODELIST.Z75'", "15/03 14:22:40", "NODELIST.Z75"},
    {"  15-Mar-2024 14:23:10 2210 CPS, Sent deleted '5A3F9C01.PKT'", "15/03 14:23:10", "5A3F9C01.PKT"},
    {"* 15-Mar-2024 14:24:00 Remote will accept 'PKZ204G.EXE' later", "15/03 14:24:00", ""},
    // What became of the file, a path, text after the quote, any tag, long names.
    {"  01-Jan-1999 00:00:00 Sent truncated 'x.zip'", "01/01 00:00:00", "X.ZIP"},
    {"  31-Dec-2024 23:59:59 Sent/delete 'c:\\out\\a.pkt'", "31/12 23:59:59", "A.PKT"},
    {"  07-Feb-2024 09:00:00 9 CPS, Sent/move 'd:/in/it's.zip', ZLIB: 12%", "07/02 09:00:00", "IT'S.ZIP"},
    {"# 07-Jun-2024 09:00:00 Sent 'nodelist.2026-340.zip'", "07/06 09:00:00", "NODELIST.2026-340.ZIP"},
    // Dated lines that are no sends.
    {"  07-Jul-2024 09:00:00 Sent ''", "07/07 09:00:00", ""},
    {"  07-Jul-2024 09:00:00 Sent 'c:\\files\\'", "07/07 09:00:00", ""},
    {"  07-Jul-2024 09:00:00 Sent 'ARJ250.EXE", "07/07 09:00:00", ""},
    {"  07-Jul-2024 09:00:00 sent 'ARJ250.EXE'", "07/07 09:00:00", ""},
    {"  07-Jul-2024 09:00:00 Sent ARJ250.EXE", "07/07 09:00:00", ""},
    {"  07-Jul-2024 09:00:00 Sent killed 'ARJ250.EXE'", "07/07 09:00:00", ""},
    {"  07-Jul-2024 09:00:00 3120 cps, Sent 'ARJ250.EXE'", "07/07 09:00:00", ""},
    {"  07-Jul-2024 09:00:00 CPS, Sent 'ARJ250.EXE'", "07/07 09:00:00", ""},
    {"  07-Jul-2024 09:00:00  Sent 'ARJ250.EXE'", "07/07 09:00:00", ""},
    {"  07-Jul-2024 09:00:00 Received 'ARJ250.EXE'", "07/07 09:00:00", ""},
    {"  07-Jul-2024 09:00:00 ", "07/07 09:00:00", ""},
    // No shape, no time.
    {"", "", ""},
    {"  07-Jul-2024 09:00:00", "", ""},
    {"  7-Jul-2024 09:00:00 Sent 'A.ZIP'", "", ""},
    {"  00-Jul-2024 09:00:00 Sent 'A.ZIP'", "", ""},
    {"  32-Jul-2024 09:00:00 Sent 'A.ZIP'", "", ""},
    {"  07-JUL-2024 09:00:00 Sent 'A.ZIP'", "", ""},
    {"  07-jul-2024 09:00:00 Sent 'A.ZIP'", "", ""},
    {"  07-Jul-24 09:00:00 Sent 'A.ZIP'", "", ""},
    {"  07-Jul-2O24 09:00:00 Sent 'A.ZIP'", "", ""},
    {"  07 Jul 2024 09:00:00 Sent 'A.ZIP'", "", ""},
    {"  07-Jul-2024 24:00:00 Sent 'A.ZIP'", "", ""},
    {"  07-Jul-2024 09:60:00 Sent 'A.ZIP'", "", ""},
    {"  07-Jul-2024 09:00 Sent 'A.ZIP'", "", ""},
    {"07-Jul-2024 09:00:00 Sent 'A.ZIP'", "", ""},
    {"+07-Jul-2024 09:00:00 Sent 'A.ZIP'", "", ""},
    {"+ 07 Jul 09:00:00 [1] sent: /f/a.zip (1, 1.00 CPS, 2:5020/1)", "", ""},
};

TEST(ParseArgusLine, TimesAndSends) { testing::ExpectParsedLines(ParseArgusLine, kCases); }

}  // namespace
}  // namespace zirka
