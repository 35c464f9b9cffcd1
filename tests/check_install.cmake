# Installs the build into a scratch prefix and checks what a desktop needs:
# the three programs, the menu entry that opens *.hpa files with hpa, the
# application/x-hpa type with its icon, every icon size and the man page;
# and for the daily fleet collection the service and timer (disabled: the
# package enables nothing), the collector's own user and the example fleet.
#   cmake -DBUILD=<build dir> -DSCRATCH=<dir> -P check_install.cmake
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${SCRATCH}/usr
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed: ${err}")
endif()
set(share ${SCRATCH}/usr/share)
set(missing "")
foreach(f bin/hpa bin/hpactl bin/hpa-printer-sim share/applications/hpa.desktop
    share/mime/packages/hpa.xml share/man/man1/hpactl.1.gz
    lib/systemd/system/hpa-collect.service lib/systemd/system/hpa-collect.timer
    lib/sysusers.d/hpa.conf share/doc/hpa/examples/fleet.conf)
  if(NOT EXISTS ${SCRATCH}/usr/${f})
    list(APPEND missing ${f})
  endif()
endforeach()
foreach(size 16 24 32 48 64 128 256)
  foreach(f apps/hpa.png mimetypes/application-x-hpa.png)
    if(NOT EXISTS ${share}/icons/hicolor/${size}x${size}/${f})
      list(APPEND missing icons/${size}x${size}/${f})
    endif()
  endforeach()
endforeach()
if(missing)
  message(FATAL_ERROR "not installed: ${missing}")
endif()

file(READ ${share}/applications/hpa.desktop desktop)
foreach(line "Exec=hpa %f" "Icon=hpa" "MimeType=application/x-hpa;")
  string(FIND "${desktop}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "hpa.desktop lacks '${line}'")
  endif()
endforeach()
file(READ ${share}/mime/packages/hpa.xml mime)
foreach(text "type=\"application/x-hpa\"" "pattern=\"*.hpa\"" "name=\"application-x-hpa\"")
  string(FIND "${mime}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "hpa.xml lacks ${text}")
  endif()
endforeach()
# The collection runs hpactl as the user hpa into its own state directory.
set(units ${SCRATCH}/usr/lib/systemd/system)
file(READ ${units}/hpa-collect.service service)
file(READ ${units}/hpa-collect.timer timer)
file(READ ${SCRATCH}/usr/lib/sysusers.d/hpa.conf sysusers)
foreach(check
    "service|ExecStart=/usr/bin/hpactl collect --fleet /etc/hpa/fleet.conf --db /var/lib/hpa/history.sqlite\n"
    "service|User=hpa\n" "service|StateDirectory=hpa\n" "service|StateDirectoryMode=0700\n"
    "service|UMask=0077\n" "service|Type=oneshot\n"
    "timer|OnCalendar=daily\n" "timer|WantedBy=timers.target\n"
    "sysusers|u hpa - ")
  string(REPLACE "|" ";" pair "${check}")
  list(GET pair 0 var)
  list(GET pair 1 text)
  string(FIND "${${var}}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${var} lacks '${text}'")
  endif()
endforeach()
# Only the timer is meant to be enabled; the service has no [Install].
string(FIND "${service}" "[Install]" at)
if(NOT at EQUAL -1)
  message(FATAL_ERROR "hpa-collect.service has an [Install] section")
endif()
# The package scripts must not enable or start anything.
get_filename_component(source ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
foreach(script postinst postrm)
  file(READ ${source}/cmake/deb/${script} text)
  if(text MATCHES "systemctl[^\n]*(enable|start)")
    message(FATAL_ERROR "${script} enables or starts a unit")
  endif()
endforeach()
find_program(analyze systemd-analyze)
if(analyze)
  # Checked against the installed hpactl, since /usr/bin may not hold one.
  set(verify ${SCRATCH}/verify)
  file(MAKE_DIRECTORY ${verify})
  string(REPLACE "/usr/bin/hpactl" "${SCRATCH}/usr/bin/hpactl" service "${service}")
  file(WRITE ${verify}/hpa-collect.service "${service}")
  file(COPY ${units}/hpa-collect.timer DESTINATION ${verify})
  execute_process(COMMAND ${analyze} verify --man=no
    ${verify}/hpa-collect.service ${verify}/hpa-collect.timer
    WORKING_DIRECTORY ${verify} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "systemd-analyze verify: ${out}")
  endif()
endif()

find_program(validate desktop-file-validate)
if(validate)
  execute_process(COMMAND ${validate} ${share}/applications/hpa.desktop
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()
file(REMOVE_RECURSE ${SCRATCH})
message(STATUS "install layout complete")
