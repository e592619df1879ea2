# What `make install` and the Debian packages hold: zelpd with the tools, the window program zelp and
# the host simulator zelp-host, as three CPack components (three .deb files). The package data lives
# in pacote/ and man/.
include(GNUInstallDirs)

set(ZELP_PACOTE ${PROJECT_SOURCE_DIR}/pacote)
set(ZELP_MAN ${PROJECT_SOURCE_DIR}/man)

# The extended descriptions below are written without the control file's leading space, and with an
# empty line between paragraphs: CPack adds both.

# Manual pages and changelogs are installed compressed, as Debian ships them (gzip -9n: no name
# or time stamp inside, so the same source gives the same bytes).
set(ZELP_COMPRIMIDOS)
function(zelp_comprime origem destino)
  add_custom_command(OUTPUT ${destino}
    COMMAND gzip -9nc ${origem} > ${destino}
    DEPENDS ${origem} VERBATIM)
  set(ZELP_COMPRIMIDOS ${ZELP_COMPRIMIDOS} ${destino} PARENT_SCOPE)
endfunction()

set(ZELP_MAN_ZELPD zelpd.8 zelp.ini.5 zelp-pdv.1 zelp-estab.1)
set(ZELP_MAN_ZELP zelp.1)
set(ZELP_MAN_HOST zelp-host.1)
foreach(pagina IN LISTS ZELP_MAN_ZELPD ZELP_MAN_ZELP ZELP_MAN_HOST)
  zelp_comprime(${ZELP_MAN}/${pagina} ${PROJECT_BINARY_DIR}/man/${pagina}.gz)
endforeach()
zelp_comprime(${ZELP_PACOTE}/changelog ${PROJECT_BINARY_DIR}/pacote/changelog.Debian.gz)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/man ${PROJECT_BINARY_DIR}/pacote)
add_custom_target(zelp_comprimidos ALL DEPENDS ${ZELP_COMPRIMIDOS})

function(zelp_instala_man componente)
  foreach(pagina IN LISTS ARGN)
    string(REGEX MATCH "[0-9]$" secao ${pagina})
    install(FILES ${PROJECT_BINARY_DIR}/man/${pagina}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${secao}
            COMPONENT ${componente})
  endforeach()
endfunction()

function(zelp_instala_documentos componente)
  install(FILES ${ZELP_PACOTE}/copyright ${PROJECT_BINARY_DIR}/pacote/changelog.Debian.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${componente} COMPONENT ${componente})
endfunction()

# zelpd: the service, its tools, its unit, its log retention and its default configuration.
install(TARGETS zelpd RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR} COMPONENT zelpd)
install(TARGETS zelp-pdv zelp-estab RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT zelpd)
install(FILES ${ZELP_PACOTE}/zelpd.service DESTINATION /lib/systemd/system COMPONENT zelpd)
# One more gateway per pair of exchange folders: zelpd@NAME runs in /etc/zelp/NAME.
install(FILES ${ZELP_PACOTE}/zelpd@.service DESTINATION /lib/systemd/system COMPONENT zelpd)
install(FILES ${ZELP_PACOTE}/zelpd.tmpfiles DESTINATION lib/tmpfiles.d RENAME zelpd.conf
        COMPONENT zelpd)
install(FILES ${ZELP_PACOTE}/zelp.ini DESTINATION /etc/zelp COMPONENT zelpd)
zelp_instala_man(zelpd ${ZELP_MAN_ZELPD})
zelp_instala_documentos(zelpd)

# zelp-host: the host simulator, apart, since it is for tests and demonstrations, not for service.
install(TARGETS zelp-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT zelp-host)
zelp_instala_man(zelp-host ${ZELP_MAN_HOST})
zelp_instala_documentos(zelp-host)

set(ZELP_COMPONENTES zelpd zelp-host)
if(TARGET zelp)
  install(TARGETS zelp RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT zelp)
  zelp_instala_man(zelp ${ZELP_MAN_ZELP})
  zelp_instala_documentos(zelp)
  # The menu's launcher (it starts zelp in ~/zelp) and a zelp.ini for that folder.
  install(FILES ${ZELP_PACOTE}/zelp.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT zelp)
  install(FILES ${ZELP_PACOTE}/zelp.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
          COMPONENT zelp)
  install(FILES ${ZELP_PACOTE}/zelp-exemplo.ini DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zelp/examples
          RENAME zelp.ini COMPONENT zelp)
  list(APPEND ZELP_COMPONENTES zelp)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelp)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "ZELP gateway developers <zelp@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL ${ZELP_COMPONENTES})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_STRIP_FILES ON)
# Directories 0755 whatever the umask of the build.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# The paragraph both packages' descriptions open with.
set(ZELP_DESCRICAO_COMUM
"ZELP takes payment requests (card transactions and cheque checks) that a
point-of-sale application drops as files of numbered fields into a folder,
exchanges them with an authorisation host over TCP and publishes the
answers as files in another folder.
")

set(CPACK_DEBIAN_ZELPD_PACKAGE_NAME zelpd)
set(CPACK_DEBIAN_ZELPD_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_ZELPD_PACKAGE_SUGGESTS zelp-host)
set(CPACK_DEBIAN_ZELPD_PACKAGE_CONTROL_EXTRA
    ${ZELP_PACOTE}/zelpd/conffiles ${ZELP_PACOTE}/zelpd/postinst ${ZELP_PACOTE}/zelpd/prerm ${ZELP_PACOTE}/zelpd/postrm)
set(CPACK_COMPONENT_ZELPD_DESCRIPTION
"transaction gateway for point-of-sale computers (service)
${ZELP_DESCRICAO_COMUM}
This package holds the service zelpd, run by systemd as its own user, with
its configuration in /etc/zelp/zelp.ini and a check of that configuration
(zelpd --verifica), and the tools zelp-pdv (a point-of-sale client) and
zelp-estab (establishment files). The host simulator is in the package
zelp-host.")

set(CPACK_DEBIAN_ZELP-HOST_PACKAGE_NAME zelp-host)
set(CPACK_COMPONENT_ZELP-HOST_DESCRIPTION
"authorisation host simulator for the ZELP transaction gateway
${ZELP_DESCRICAO_COMUM}
This package holds zelp-host, which answers the gateway's host messages
over TCP as an authorisation host would (approvals, refusals, delays and
faults), for demonstrations, tests and point-of-sale developers. It prints
what it receives with card numbers, track data and PIN blocks masked. A
gateway in service does not need it.")

set(CPACK_DEBIAN_ZELP_PACKAGE_NAME zelp)
set(CPACK_DEBIAN_ZELP_PACKAGE_SUGGESTS zelpd)
set(CPACK_COMPONENT_ZELP_DESCRIPTION
"transaction gateway for point-of-sale computers (window)
${ZELP_DESCRICAO_COMUM}
This package holds zelp, the gateway as a desktop program with a window
and a tray icon, configured by zelp.ini in its working folder. It starts
nothing by itself; the service for servers is in the package zelpd.")

include(CPack)
