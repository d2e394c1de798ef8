# Installation of the shared files and the Debian package made by CPack (`make package`).

install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korzenik COMPONENT korzenik)
# Debian wants the changelog and the manual pages compressed with maximum compression and no
# timestamp. The package is native (its version has no Debian revision), so the changelog is
# installed as changelog.gz.
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.Debian
               ${PROJECT_BINARY_DIR}/changelog.Debian @ONLY)
set(_changelog_gz ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${_changelog_gz}
    COMMAND gzip -n -9 -c ${PROJECT_BINARY_DIR}/changelog.Debian > ${_changelog_gz}
    DEPENDS ${PROJECT_BINARY_DIR}/changelog.Debian)
set(_manpages)
foreach(_page korzenik.1 korzenik-script.1)
    # The pages carry the project version, filled in here.
    configure_file(${PROJECT_SOURCE_DIR}/packaging/${_page} ${PROJECT_BINARY_DIR}/man/${_page} @ONLY)
    set(_gz ${PROJECT_BINARY_DIR}/${_page}.gz)
    add_custom_command(OUTPUT ${_gz}
        COMMAND gzip -n -9 -c ${PROJECT_BINARY_DIR}/man/${_page} > ${_gz}
        DEPENDS ${PROJECT_BINARY_DIR}/man/${_page})
    list(APPEND _manpages ${_gz})
endforeach()
add_custom_target(korzenik_changelog ALL DEPENDS ${_changelog_gz} ${_manpages})
install(FILES ${_changelog_gz} DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/korzenik COMPONENT korzenik)
install(FILES ${_manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT korzenik)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korzenik)
set(CPACK_PACKAGE_VENDOR "Korzenik authors")
set(CPACK_PACKAGE_CONTACT "Korzenik maintainers <maintainers@korzenik.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "teaching tool for numerical root finding")
set(CPACK_PACKAGE_DESCRIPTION
"Korzenik lets a student pick one of five functions, draw its graph over an
interval and run the false-position (chord) method step by step, watching each
chord drawn over the graph and each approximation listed. It includes a
headless scripted mode, korzenik-script, for handouts and testing.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The toolkit's own menus and buttons in the desktop's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_STRIP_FILES ON)
# Stripping keeps the compilers' .comment section, which Debian's own packages do not carry (their
# tools remove it with .note): the programs are installed without both. The programs' install
# rules come earlier, so this runs after them.
install(CODE "
    foreach(program korzenik korzenik-script)
        set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
        if(EXISTS \"\${file}\")
            execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                            --remove-section=.note \"\${file}\" COMMAND_ERROR_IS_FATAL ANY)
        endif()
    endforeach()" COMPONENT korzenik)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
