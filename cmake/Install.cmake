# Installing Pellmora as a desktop program (cmake --install), its Debian package (make deb), and
# the checks that the installed files satisfy the desktop's tools.

include(GNUInstallDirs)

set(PELLMORA_PAGES_DIR ${CMAKE_INSTALL_DATADIR}/pellmora)
set(PELLMORA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/pellmora)
set(PELLMORA_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The window looks for its pages relative to its own folder, not under a fixed prefix, so that
# an install into a DESTDIR or a moved prefix opens its own copy.
file(RELATIVE_PATH pages_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/pellmora)
set_property(SOURCE src/ui/WebPages.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS PELLMORA_PAGES_RELATIVE_DIR="${pages_from_bin}")

install(TARGETS pellmora-scan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET pellmora)
    install(TARGETS pellmora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

file(GLOB PELLMORA_PAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/doc/*.html)
install(FILES ${PELLMORA_PAGES} DESTINATION ${PELLMORA_PAGES_DIR})

install(FILES packaging/pellmora.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/org.pellmora.Pellmora.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/icons/pellmora.svg DESTINATION ${PELLMORA_ICON_DIR}/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES packaging/icons/pellmora-${size}.png
            DESTINATION ${PELLMORA_ICON_DIR}/${size}x${size}/apps RENAME pellmora.png)
endforeach()
install(FILES packaging/completion/pellmora-scan
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Debian wants manual pages and the changelog compressed, without a time stamp in the gzip
# header so that two builds give the same package; man reads them compressed everywhere.
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${packaging_out})
foreach(source man/pellmora.1 man/pellmora-scan.1 debian/changelog)
    get_filename_component(name ${source} NAME)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS packaging/${source})
    execute_process(COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/${source}
                    OUTPUT_FILE ${packaging_out}/${name}.gz COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${packaging_out}/pellmora.1.gz ${packaging_out}/pellmora-scan.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging_out}/changelog.gz packaging/debian/copyright
        DESTINATION ${PELLMORA_DOC_DIR})

# The Debian package: `make deb` builds it with `cpack -G DEB` and checks it with lintian.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pellmora)
set(CPACK_PACKAGE_VENDOR "The Pellmora developers")
set(CPACK_PACKAGE_CONTACT "The Pellmora developers <support@pellmora.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop duplicate-file finder")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Pellmora finds files of identical content in the folders you pick. It groups\n"
    "files of equal size, proves which are identical by a CRC-32 checksum plus size\n"
    "or byte by byte, and lists every duplicate in numbered groups, where copies can\n"
    "be ticked and moved to the trash, moved to another folder or renamed, and the\n"
    "list exported as an HTML or text report.\n"
    "\n"
    "The package also contains pellmora-scan, the same search on the command line.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.pellmora.org/")
# The libraries come from dpkg-shlibdeps; what it cannot see is listed: the plugins Qt loads at
# run time (the display connection, the TIFF reader of the picture preview), and Qt D-Bus, which
# the linker drops while no call into it is linked yet but the file manager's properties use.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6dbus6, qt6-qpa-plugins, qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
include(CPack)

# Checks of the installed files with the desktop's own tools; exit status 77 means the tool is
# not installed (scripts/install-deps.sh installs them).
set(install_tests install_desktop_entry install_metainfo install_manual_pages)
add_test(NAME install_desktop_entry
         COMMAND ${CMAKE_SOURCE_DIR}/tests/install/desktop_entry.sh
                 ${CMAKE_SOURCE_DIR}/packaging/pellmora.desktop)
add_test(NAME install_metainfo
         COMMAND ${CMAKE_SOURCE_DIR}/tests/install/metainfo.sh
                 ${CMAKE_SOURCE_DIR}/packaging/org.pellmora.Pellmora.metainfo.xml)
add_test(NAME install_manual_pages
         COMMAND ${CMAKE_SOURCE_DIR}/tests/install/manual_pages.sh ${CMAKE_SOURCE_DIR}/packaging
                 $<TARGET_FILE:pellmora-scan>)
if(TARGET pellmora_gui_tests)
    add_test(NAME install_destdir
             COMMAND ${CMAKE_SOURCE_DIR}/tests/install/destdir.sh ${CMAKE_BINARY_DIR}
                     $<TARGET_FILE:pellmora_gui_tests>)
    list(APPEND install_tests install_destdir)
endif()
set_tests_properties(${install_tests} PROPERTIES LABELS install SKIP_RETURN_CODE 77 TIMEOUT 120)
