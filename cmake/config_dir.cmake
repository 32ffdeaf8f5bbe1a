# zirka_config_dir(<out> <prefix> <sysconfdir>): the configuration directory of an
# install under <prefix>, as GNUInstallDirs makes CMAKE_INSTALL_FULL_SYSCONFDIR
# (/usr gives /etc, /opt/x gives /etc/opt/x, an absolute <sysconfdir> stays). The
# program works it out the same way from where it was installed (install_dirs.h).
function(zirka_config_dir out prefix sysconfdir)
  string(REGEX REPLACE "/+$" "" prefix "${prefix}")
  if(IS_ABSOLUTE "${sysconfdir}")
    set(dir "${sysconfdir}")
  elseif(prefix STREQUAL "" OR prefix STREQUAL "/usr")
    set(dir "/${sysconfdir}")
  elseif(prefix MATCHES "^/opt/")
    set(dir "/${sysconfdir}${prefix}")
  else()
    set(dir "${prefix}/${sysconfdir}")
  endif()
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()
