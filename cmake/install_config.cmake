# Run by `cmake --install` and CPack: puts the sample control file ZIRKA_SAMPLE at
# <configuration directory>/zirka/zirka.ctl, unless a control file is there
# already: it holds the sysop's settings and Last_Time, and is never overwritten.
include("${CMAKE_CURRENT_LIST_DIR}/config_dir.cmake")
zirka_config_dir(zirka_dir "${CMAKE_INSTALL_PREFIX}" "${ZIRKA_SYSCONFDIR}")
if(EXISTS "$ENV{DESTDIR}${zirka_dir}/zirka/zirka.ctl")
  message(STATUS "Kept: $ENV{DESTDIR}${zirka_dir}/zirka/zirka.ctl")
else()
  file(INSTALL "${ZIRKA_SAMPLE}" DESTINATION "${zirka_dir}/zirka" RENAME zirka.ctl
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()
