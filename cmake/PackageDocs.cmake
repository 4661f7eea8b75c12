# What the Debian package carries beside the program: the manual page, made at build time by
# help2man from --help and --version, the copyright, the changelog, and the lintian override for
# the suite folder in /opt. Pages and changelog are compressed as Debian's policy asks, without a
# time stamp, so that the same sources give the same package. The package is made here, from the
# launcher's own sources, so it is a native package: its version is the project's, without a
# Debian revision, and its changelog is changelog.gz. The newest entry of the changelog must be
# for that version; it also gives the manual page its date.

set(kk_changelog ${PROJECT_SOURCE_DIR}/packaging/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${kk_changelog})
execute_process(COMMAND ${KK_DPKG_PARSECHANGELOG} -l ${kk_changelog} -S Version
                OUTPUT_VARIABLE kk_package_version OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${KK_DPKG_PARSECHANGELOG} -l ${kk_changelog} -S Timestamp
                OUTPUT_VARIABLE kk_changelog_time OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
if(NOT kk_package_version STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "packaging/changelog begins with ${kk_package_version}: "
                        "it needs an entry for ${PROJECT_VERSION}")
endif()

set(kk_docs ${PROJECT_BINARY_DIR}/packaging)
configure_file(${PROJECT_SOURCE_DIR}/packaging/kestrelkit-launcher.h2m.in
               ${kk_docs}/kestrelkit-launcher.h2m @ONLY)
add_custom_command(
    OUTPUT ${kk_docs}/kestrelkit-launcher.1.gz
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${kk_changelog_time}
            ${KK_HELP2MAN} --no-info --locale=C.UTF-8 --section=1
            "--name=launcher for the utilities of a Kestrelkit suite"
            --include=${kk_docs}/kestrelkit-launcher.h2m
            --output=${kk_docs}/kestrelkit-launcher.1 $<TARGET_FILE:kestrelkit-launcher>
    COMMAND ${KK_GZIP} -9nf ${kk_docs}/kestrelkit-launcher.1
    DEPENDS kestrelkit-launcher ${kk_docs}/kestrelkit-launcher.h2m
    COMMENT "Writing the manual page from --help and --version"
    VERBATIM)
add_custom_command(
    OUTPUT ${kk_docs}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${kk_changelog} ${kk_docs}/changelog
    COMMAND ${KK_GZIP} -9nf ${kk_docs}/changelog
    DEPENDS ${kk_changelog}
    VERBATIM)
add_custom_target(package-docs ALL
    DEPENDS ${kk_docs}/kestrelkit-launcher.1.gz ${kk_docs}/changelog.gz)

install(FILES ${kk_docs}/kestrelkit-launcher.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${kk_docs}/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kestrelkit-launcher)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME kestrelkit-launcher)
