# Install rules and the Debian package (cpack -G DEB in the build tree):
# the arenix command, the site, the service with its settings, the manual
# page made from the command's help.
include(GNUInstallDirs)
# `cpack` installs what is built; it need not build every test first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS arenix_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/site/ DESTINATION ${CMAKE_INSTALL_DATADIR}/arenix/site)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/arenix.service DESTINATION /lib/systemd/system)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/arenix.conf DESTINATION /etc/arenix)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/nginx-arenix.conf DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
install(CODE "execute_process(COMMAND \${CMAKE_COMMAND} -DARENIX=$<TARGET_FILE:arenix_cli>
                -DVERSION=${ARENIX_VERSION} -DOUT=${CMAKE_BINARY_DIR}/man
                -P ${CMAKE_SOURCE_DIR}/packaging/man_page.cmake COMMAND_ERROR_IS_FATAL ANY)")
install(FILES ${CMAKE_BINARY_DIR}/man/arenix.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME arenix)
set(CPACK_PACKAGE_VERSION ${ARENIX_VERSION})
set(CPACK_PACKAGE_CONTACT "Arenix maintainers <arenix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sports-meet web module: the meet's pages over HTTP")
set(CPACK_PACKAGE_DESCRIPTION "Serves a sports meet's web pages (registration, results, the\n\
 recorders' pages) from the meet's free tables, as the service arenix.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program without its debugging information, as Debian ships programs.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "adduser")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_SOURCE_DIR}/packaging/postinst ${CMAKE_SOURCE_DIR}/packaging/prerm
    ${CMAKE_SOURCE_DIR}/packaging/postrm ${CMAKE_SOURCE_DIR}/packaging/conffiles)
include(CPack)
