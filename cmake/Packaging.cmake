# The Debian package: `make package` runs CPack's DEB generator in the build folder, which packs
# what the install rules put under /usr (the programs by src/ui, src/cli and src/emulator, the
# desktop files, manual pages and completions below) into kestrel_<version>_<arch>.deb.

find_program(KESTREL_GZIP gzip REQUIRED)

# Installs source gzipped as name (gzip -9n: no name or time stamp, so the bytes depend on the
# source alone, as Debian wants for manual pages and changelogs) into destination.
function(kestrel_install_gzipped source name destination)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name})
    add_custom_command(OUTPUT ${out}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/gzipped
                       COMMAND sh -c "\"$1\" -9n -c \"$2\" > \"$3\"" sh ${KESTREL_GZIP} ${source} ${out}
                       DEPENDS ${source}
                       VERBATIM)
    string(MAKE_C_IDENTIFIER "gzip_${name}" target)
    add_custom_target(${target} ALL DEPENDS ${out})
    install(FILES ${out} DESTINATION ${destination})
endfunction()

# A program's manual page (resources/man/<program>.1) and bash completion
# (resources/completion/<program>, when there is one).
function(kestrel_install_program_docs program)
    kestrel_install_gzipped(${PROJECT_SOURCE_DIR}/resources/man/${program}.1 ${program}.1.gz share/man/man1)
    if(EXISTS ${PROJECT_SOURCE_DIR}/resources/completion/${program})
        install(FILES ${PROJECT_SOURCE_DIR}/resources/completion/${program}
                DESTINATION share/bash-completion/completions)
    endif()
endfunction()

kestrel_install_gzipped(${PROJECT_SOURCE_DIR}/resources/debian/changelog changelog.gz share/doc/kestrel)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright DESTINATION share/doc/kestrel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kestrel developers")
set(CPACK_PACKAGE_CONTACT "Kestrel developers <kestrel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop editor for GSM SIM cards")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrel reads, edits and writes back what a GSM SIM card in a smart-card reader
holds for its owner: the phone book with its extension records, fixed dialling
numbers, SMS messages and SMS parameters, preferred and forbidden networks. It
manages PIN1 and PIN2, shows the card's information, checks and repairs broken
records, backs the whole card up to a file and restores it, prints reports,
and browses the SIM Toolkit menu.

The package holds the Qt desktop program kestrel, the command-line program
kestrel-cli for scripts (JSON output) and kestrel-sim, a virtual SIM card that
the programs use without a reader or serve to PC/SC programs through vpcd.
Serial readers work directly; PC/SC readers need pcscd.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kestrel developers <kestrel@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: what dpkg-shlibdeps finds the programs linked against, and Qt's platform plugins
# (xcb for the desktop, offscreen for printing without a display), which Qt loads at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(KESTREL_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
endif()
# pcscd serves PC/SC readers (vpcd puts kestrel-sim's card into one); Qt's translations give Qt's
# own dialogs and buttons the program's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pcscd, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS vsmartcard-vpcd)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
