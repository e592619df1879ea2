# The Windows installer zelp-<version>-x64.msi (target msi): wixl (msitools) builds it from
# pacote/windows/zelp.wxs.in with the five programs, stripped, and a zelp.ini made from the Debian
# package's; msibuild then sets what wixl cannot say (below).
find_program(ZELP_WIXL wixl)
find_program(ZELP_MSIBUILD msibuild)
if(NOT ZELP_WIXL OR NOT ZELP_MSIBUILD)
  message(STATUS "wixl or msibuild not found: no installer (make msi installs them)")
  return()
endif()

set(ZELP_MSI ${PROJECT_BINARY_DIR}/zelp-${PROJECT_VERSION}-x64.msi)
set(ZELP_INSTALADOR ${PROJECT_BINARY_DIR}/instalador)
file(MAKE_DIRECTORY ${ZELP_INSTALADOR})

# The upgrade code never changes: every version of ZELP upgrades every earlier one in place. The
# product code and the components' codes follow from it, the product code with the version (a new
# version is a new product, as a major upgrade needs), the components' with their names only.
set(ZELP_CODIGO_ATUALIZACAO "3C1F7A52-8E0B-4D5A-9F21-6B7D04E2A9C3")
foreach(componente Zelpd Zelp ZelpPdv ZelpEstab ZelpHost ZelpIni Entrada Saida Estab Log)
  string(UUID ZELP_GUID_${componente} NAMESPACE ${ZELP_CODIGO_ATUALIZACAO} NAME "componente ${componente}"
         TYPE SHA1 UPPER)
endforeach()
set(ZELP_DESCRICAO_SERVICO
    "Takes the payment requests a point of sale drops into ProgramData\\ZELP\\entrada, exchanges them with the authorisation host and publishes the answers.")

add_custom_command(OUTPUT ${ZELP_INSTALADOR}/zelp.ini
  COMMAND ${CMAKE_COMMAND} -DORIGEM=${PROJECT_SOURCE_DIR}/pacote/zelp.ini -DDESTINO=${ZELP_INSTALADOR}/zelp.ini
          -P ${PROJECT_SOURCE_DIR}/cmake/IniWindows.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/pacote/zelp.ini ${PROJECT_SOURCE_DIR}/cmake/IniWindows.cmake VERBATIM)

set(programas zelpd zelp zelp-pdv zelp-estab zelp-host)
set(copias)
foreach(programa IN LISTS programas)
  add_custom_command(OUTPUT ${ZELP_INSTALADOR}/${programa}.exe
    COMMAND ${CMAKE_STRIP} -o ${ZELP_INSTALADOR}/${programa}.exe $<TARGET_FILE:${programa}>
    DEPENDS ${programa} VERBATIM)
  list(APPEND copias ${ZELP_INSTALADOR}/${programa}.exe)
endforeach()

# The event log's message file is an expandable string ("#%" before the value), which wixl cannot say.
set(expansivel "UPDATE `Registry` SET `Value` = '#%[#zelpd.exe]' WHERE `Name` = 'EventMessageFile'")
# The Start menu's entry points at the program itself: wixl makes every shortcut an advertised one,
# which would reinstall a missing data file at each start of the window.
set(atalho "UPDATE `Shortcut` SET `Target` = '[#zelp.exe]' WHERE `Shortcut` = 'MenuZelp'")
# Component attributes: 64-bit (256), permanent (16), never overwritten (128).
set(permanentes "UPDATE `Component` SET `Attributes` = 272 WHERE `Component` = 'Entrada' OR `Component` = 'Saida' OR `Component` = 'Estab' OR `Component` = 'Log'")
set(configuracao "UPDATE `Component` SET `Attributes` = 400 WHERE `Component` = 'ZelpIni'")

# The installer of the programs of this build as version ZELP_VERSAO_MSI (major.minor.build).
function(zelp_instalador ZELP_VERSAO_MSI msi)
  string(UUID ZELP_CODIGO_PRODUTO NAMESPACE ${ZELP_CODIGO_ATUALIZACAO} NAME "produto ${ZELP_VERSAO_MSI}"
         TYPE SHA1 UPPER)
  set(wxs ${ZELP_INSTALADOR}/zelp-${ZELP_VERSAO_MSI}.wxs)
  configure_file(${PROJECT_SOURCE_DIR}/pacote/windows/zelp.wxs.in ${wxs} @ONLY)
  add_custom_command(OUTPUT ${msi}
    COMMAND ${ZELP_WIXL} -a x64 -o ${msi}.novo ${wxs}
    COMMAND ${ZELP_MSIBUILD} ${msi}.novo -q ${permanentes} -q ${configuracao} -q ${expansivel} -q ${atalho}
    COMMAND ${CMAKE_COMMAND} -E rename ${msi}.novo ${msi}
    DEPENDS ${wxs} ${ZELP_INSTALADOR}/zelp.ini ${copias}
    WORKING_DIRECTORY ${ZELP_INSTALADOR} VERBATIM)
endfunction()

zelp_instalador(${PROJECT_VERSION}.0 ${ZELP_MSI})
if(ZELP_TESTS)
  # Built with everything when the tests, which install it under wine, are built too; with it, the
  # same programs as the next build version, which the tests install over it as an upgrade.
  set(ZELP_MSI_SEGUINTE ${ZELP_INSTALADOR}/zelp-${PROJECT_VERSION}.1-x64.msi)
  zelp_instalador(${PROJECT_VERSION}.1 ${ZELP_MSI_SEGUINTE})
  add_custom_target(msi ALL DEPENDS ${ZELP_MSI} ${ZELP_MSI_SEGUINTE})
else()
  add_custom_target(msi DEPENDS ${ZELP_MSI})
endif()
