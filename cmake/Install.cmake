# Installation and the Debian package.
#
#   cmake --install build --prefix /usr/local     the programs, desktop entry,
#                                                 MIME type, icons, man page
#   cpack -G DEB --config build/CPackConfig.cmake   hpa_1.1.0_amd64.deb
include(GNUInstallDirs)

install(TARGETS hpa hpactl hpa-printer-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Desktop integration: the program in the menus, *.hpa as application/x-hpa
# opened by hpa, and the icons of both in the hicolor theme.
install(FILES ${CMAKE_SOURCE_DIR}/res/hpa.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/res/mime/hpa.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/res/icons/hpa-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME hpa.png)
  install(FILES ${CMAKE_SOURCE_DIR}/res/icons/hpa-document-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/mimetypes
          RENAME application-x-hpa.png)
endforeach()

# Daily fleet collection: the service and its timer (installed disabled),
# the collector's system user, and an example fleet file to start from.
install(FILES ${CMAKE_SOURCE_DIR}/res/systemd/hpa-collect.service
              ${CMAKE_SOURCE_DIR}/res/systemd/hpa-collect.timer
        DESTINATION lib/systemd/system)
install(FILES ${CMAKE_SOURCE_DIR}/res/systemd/hpa.sysusers
        DESTINATION lib/sysusers.d RENAME hpa.conf)
install(FILES ${CMAKE_SOURCE_DIR}/res/fleet.conf.example
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/hpa/examples RENAME fleet.conf)

# Man pages are installed compressed, as Debian expects them.
find_program(HPA_GZIP gzip)
if(HPA_GZIP)
  set(_man_gz ${CMAKE_BINARY_DIR}/man/hpactl.1.gz)
  add_custom_command(OUTPUT ${_man_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${HPA_GZIP} -9 -n -c ${CMAKE_SOURCE_DIR}/docs/hpactl.1 > ${_man_gz}
    DEPENDS ${CMAKE_SOURCE_DIR}/docs/hpactl.1
    COMMENT "Compressing the hpactl man page")
  add_custom_target(hpa_man ALL DEPENDS ${_man_gz})
  install(FILES ${_man_gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  install(FILES ${CMAKE_SOURCE_DIR}/docs/hpactl.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# A plain install into a live system refreshes the desktop's caches; a
# staged install (DESTDIR, packaging) leaves that to the package manager,
# whose triggers do it on Debian.
install(CODE [[
  if("$ENV{DESTDIR}" STREQUAL "")
    set(_share "${CMAKE_INSTALL_PREFIX}/share")
    find_program(_update_mime update-mime-database)
    find_program(_update_desktop update-desktop-database)
    find_program(_update_icons gtk-update-icon-cache)
    if(_update_mime)
      execute_process(COMMAND ${_update_mime} "${_share}/mime" RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(_update_desktop)
      execute_process(COMMAND ${_update_desktop} "${_share}/applications" RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(_update_icons AND EXISTS "${_share}/icons/hicolor/index.theme")
      execute_process(COMMAND ${_update_icons} -q -t "${_share}/icons/hicolor" RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_QUIET)
    endif()
  endif()
]])

# ---- Debian package ----------------------------------------------------------
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "hpa")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "HPA")
set(CPACK_PACKAGE_CONTACT "HPA maintainers <hpa@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Halyard Printer Auditor: job accounting of network printers")
set(CPACK_PACKAGE_DESCRIPTION
  "HPA logs into a network printer's built-in FTP server, fetches its job,
paper and status accounting files, decodes them and shows them as tables,
with field filters, an accounting summary, CSV/TSV export, printing and
.hpa documents for offline work.

The package holds the desktop program hpa, the headless tool hpactl for
cron jobs and scripts, and hpa-printer-sim, a simulated printer. The
timer hpa-collect.timer (disabled until enabled) collects the printers
of /etc/hpa/fleet.conf daily into a job history, as the system user hpa.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # hpa_1.1.0_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://localhost/hpa")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
find_program(HPA_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(HPA_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6, libqt6printsupport6, libqt6network6, libqt6charts6, libqt6svg6, libqt6gui6, libqt6core6,
    libsqlite3-0, libpq5, libstdc++6, libc6")
endif()
set(CPACK_STRIP_FILES ON)
# Creates the collector's user and /etc/hpa; enables nothing.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
  ${CMAKE_SOURCE_DIR}/cmake/deb/postinst ${CMAKE_SOURCE_DIR}/cmake/deb/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
