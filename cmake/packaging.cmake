# Install rules and packages: a Debian package on Linux, a ZIP for Windows.
#
#   cmake --install build                 # the files below, in GNUInstallDirs places
#   cpack --config build/CPackConfig.cmake
#
# Linux: bin/zirka, man1/zirka.1, man5/zirka.ctl.5, doc/zirka/README.md,
# doc/zirka/examples/ZIRKA.CTL and the commented sample zirka.ctl in the install's
# configuration directory (/etc/zirka for the package, where it is a conffile;
# an existing one is kept). Windows: zirka.exe, README.TXT and
# EXAMPLES\ZIRKA.CTL side by side, every text file with CR LF line ends, so that
# the unpacked folder is ready to use (the sample is not put beside the program,
# where it would be read as the node's own control file).

include(GNUInstallDirs)

if(WIN32)
  set(ZIRKA_INSTALL_BIN .)
  set(ZIRKA_INSTALL_DOC .)
  set(ZIRKA_INSTALL_EXAMPLES EXAMPLES)
  # CR LF copies of the text files in the build tree (the sample already is DOS text).
  set(ZIRKA_README ${PROJECT_BINARY_DIR}/README.TXT)
  configure_file(${PROJECT_SOURCE_DIR}/README.md ${ZIRKA_README} @ONLY NEWLINE_STYLE CRLF)
  set(ZIRKA_SAMPLE_CTL ${PROJECT_BINARY_DIR}/ZIRKA.CTL)
  configure_file(${PROJECT_SOURCE_DIR}/examples/node/FIDO/ZIRKA.CTL ${ZIRKA_SAMPLE_CTL}
                 @ONLY NEWLINE_STYLE CRLF)
else()
  set(ZIRKA_INSTALL_BIN ${CMAKE_INSTALL_BINDIR})
  set(ZIRKA_INSTALL_DOC ${CMAKE_INSTALL_DOCDIR})
  set(ZIRKA_INSTALL_EXAMPLES ${CMAKE_INSTALL_DOCDIR}/examples)
  set(ZIRKA_README ${PROJECT_SOURCE_DIR}/README.md)
  set(ZIRKA_SAMPLE_CTL ${PROJECT_SOURCE_DIR}/examples/node/FIDO/ZIRKA.CTL)
  install(FILES ${PROJECT_SOURCE_DIR}/doc/zirka.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/doc/zirka.ctl.5 DESTINATION ${CMAKE_INSTALL_MANDIR}/man5)
  # The control file an installed zirka reads when no -c= names one. Its place
  # follows the prefix the files are installed under, worked out when they are.
  install(CODE "set(ZIRKA_SAMPLE \"${PROJECT_SOURCE_DIR}/examples/etc/zirka.ctl\")
    set(ZIRKA_SYSCONFDIR \"${CMAKE_INSTALL_SYSCONFDIR}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/install_config.cmake\")")
endif()

install(TARGETS zirka RUNTIME DESTINATION ${ZIRKA_INSTALL_BIN})
install(FILES ${ZIRKA_README} DESTINATION ${ZIRKA_INSTALL_DOC})
install(FILES ${ZIRKA_SAMPLE_CTL} DESTINATION ${ZIRKA_INSTALL_EXAMPLES})

set(CPACK_PACKAGE_NAME zirka)
set(CPACK_PACKAGE_VENDOR "Zirka developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "download counters in FILES.BBS lists from T-Mail logs")
set(CPACK_PACKAGE_DESCRIPTION
    "Zirka reads the logs of the T-Mail FidoNet mailer, counts every file sent to a
caller, and raises the bracketed download counter beside that file in the
FILES.BBS list of its file area. One run does the whole job and ends with an
errorlevel for the calling script; it remembers the newest log line counted,
so a second run counts nothing twice. Control files, logs and lists are DOS
text; DOS paths are mapped to directories through environment variables or a
Wine prefix.")
set(CPACK_PACKAGE_CONTACT "Zirka developers <zirka@localhost>")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # zirka_3.8_amd64.deb
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends from dpkg-shlibdeps (dpkg-dev)
  # The sample control file is a conffile: an upgrade keeps the sysop's edits.
  include(${PROJECT_SOURCE_DIR}/cmake/config_dir.cmake)
  if(NOT CPACK_PACKAGING_INSTALL_PREFIX)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  endif()
  zirka_config_dir(zirka_package_etc ${CPACK_PACKAGING_INSTALL_PREFIX} ${CMAKE_INSTALL_SYSCONFDIR})
  file(WRITE ${PROJECT_BINARY_DIR}/debian/conffiles "${zirka_package_etc}/zirka/zirka.ctl\n")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/conffiles)
endif()

include(CPack)
