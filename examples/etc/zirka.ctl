; /etc/zirka/zirka.ctl: the control file that zirka reads when no -c= names
; another and there is no ZIRKA.CTL beside the program. See zirka.ctl(5).
;
; Every line is commented out. Take the ';' away from the lines your node needs,
; set your paths, and check the file before the first run:
;     zirka -t
; Each run stores the time of the newest log line it counted here (Last_Time),
; and keeps its journal beside this file while it changes the lists: the user
; that runs zirka must be able to write this file and this directory.
;
; A keyword and its value a line; ';' starts a comment. Values are read in upper
; case; each name is then found on disk whatever its letter case.

; The program log and the report of each run.
;LOG            /var/log/fido/zirka.log
;KEEP_LOG       Yes                  ; No: a fresh program log each run
;REPORT         /var/log/fido/zirka.rep
;KEEP_REPORT    Yes                  ; No: a fresh report each run

; binkd: the log that the first "log" line of its config names, and more logs.
;BINKD_CFG      /etc/binkd/binkd.cfg
;BINKD_LOG      /var/log/binkd/binkd.log.1

; T-Mail (under Wine, say): its control file and more of its logs.
;CTL_PATH       /home/fido/t-mail/t-mail.ctl
;LOG_PATH       /home/fido/t-mail/t-mail.log
;LOOKUP_CTL     Yes                  ; also the areas of FREQ_DIR and FREQ_NDX

; The file areas whose files.bbs lists get their counters raised.
;AREA           /home/fido/files/util
;AREA           /home/fido/files/nodelist

; The download counter: [000] after the file name, three digits.
;DLC_DIGITS     3
;LEFT_BRACKET   [
;RIGHT_BRACKET  ]
;LEAD_CHAR      0
;KEEP_NAME_CASE Yes                  ; raised entries keep the list's spelling
;FIRST_ONLY     Yes                  ; No: raise a file in every list it is in

; Sent files never counted: a fragment of the name, one a line.
;IGNORE         .TIC
