; zirka.ctl of the example qico node: a Linux node (2:5020/9997) that answers
; modem calls with qico-ng. Run the program after qico's sessions:
;     cd /home/fido && zirka -c=etc/zirka.ctl
; Paths are relative to the node's directory so that the example runs from a
; copy; on your node write whole paths.

LOG          log/zirka.log
REPORT       log/zirka.rep

; The log that the "log" line of qico.conf names; one line per log.
QICO_LOG     log/qico.log

; The lists keep the names as the files are named on disk.
KEEP_NAME_CASE Yes
AREA         files/util
IGNORE       .TIC
