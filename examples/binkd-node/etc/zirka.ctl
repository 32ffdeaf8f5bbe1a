; zirka.ctl of the example binkd node: a Linux node (2:5020/9999) with two
; file areas and no T-Mail. Run the program after binkd's sessions:
;     cd /home/fido && zirka -c=etc/zirka.ctl
;
; Paths are POSIX paths. This example writes them relative to the node's
; directory (the directory the program runs in), so that it works wherever
; it is copied. On your node write whole paths, e.g. AREA /home/fido/files/util.
; Values are read in upper case; every name is found whatever its letter case.

LOG          log/zirka.log          ; the program log
KEEP_LOG     Yes                    ; No: a fresh log each run
REPORT       log/zirka.rep          ; what each run found, file by file
KEEP_REPORT  Yes

; binkd's own config: the program reads its first "log" line and scans that
; log. No CTL_PATH: this node has no T-MAIL.CTL.
BINKD_CFG    etc/binkd.cfg

; More binkd logs, one a line, e.g. a second binkd on another port:
;BINKD_LOG   /home/fido/log/binkd-ipv6.log

; The lists spell the names in lower case, as the files are named on disk, and
; the request processor matches them as written: a raised entry keeps the list's
; spelling (arj250.exe, not ARJ250.EXE).
KEEP_NAME_CASE Yes

; Names longer than DOS's 8.3 (up to 255 characters), as files/linux holds
; them, are matched too: their counters may stand further right.
LONG_NAMES   Yes

; The download counter: [000] right after the file name, three digits.
DLC_DIGITS   3
LEFT_BRACKET  [
RIGHT_BRACKET ]
LEAD_CHAR    0

; The file areas whose files.bbs lists get their counters raised.
AREA         files/util
AREA         files/nodelist
AREA         files/linux

; Sent files never counted: TIC files travel with every nodelist, and the
; request processor's answer (.rsp) is no download.
IGNORE       .TIC
IGNORE       .RSP

; A file listed in two areas raises only the first list's counter.
FIRST_ONLY   Yes
