# What `cmake --install` puts in place, and the CMake package clients find it by:
#   include/kite/...         the public headers, as the sources include them, and export headers
#   lib/                     the libraries
#   lib/cmake/kite/          kiteConfig.cmake, kiteConfigVersion.cmake, kiteTargets.cmake
#   share/kite/resources/    the installation root's images
# find_package(kite) gives kite::kite (every library) and one target per layer (kite::veld,
# kite::editor, ...). The same names work inside this build tree.

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KITE_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/kite)
set(KITE_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/kite)
set(KITE_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/kite)

# kite_install_libraries(<target> <name> ...): installs each library as kite::<name>, gives it
# that alias here, and makes kite::kite of them all.
function(kite_install_libraries)
    add_library(kite_all INTERFACE)
    set_target_properties(kite_all PROPERTIES EXPORT_NAME kite)
    add_library(kite::kite ALIAS kite_all)
    set(targets kite_all)
    set(pairs ${ARGN})
    while(pairs)
        list(POP_FRONT pairs target name)
        set_target_properties(${target} PROPERTIES EXPORT_NAME ${name})
        add_library(kite::${name} ALIAS ${target})
        target_include_directories(${target} PUBLIC $<INSTALL_INTERFACE:${KITE_INSTALL_INCLUDEDIR}>)
        target_link_libraries(kite_all INTERFACE ${target})
        list(APPEND targets ${target})
    endwhile()
    install(TARGETS ${targets} EXPORT kiteTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# kite_install_headers(<folder> ...): every header under the folders, apart from those whose
# first line says they are private to their module, and the export headers made for them.
function(kite_install_headers)
    set(patterns)
    foreach(folder IN LISTS ARGN)
        list(APPEND patterns ${folder}/*.hpp ${folder}/*.h)
    endforeach()
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${patterns})
    foreach(header IN LISTS headers)
        file(STRINGS ${PROJECT_SOURCE_DIR}/${header} first LIMIT_COUNT 1)
        if(first MATCHES "^// Private to ")
            continue()
        endif()
        get_filename_component(folder ${header} DIRECTORY)
        install(FILES ${header} DESTINATION ${KITE_INSTALL_INCLUDEDIR}/${folder})
    endforeach()
    foreach(folder IN LISTS ARGN)
        install(DIRECTORY ${PROJECT_BINARY_DIR}/include/${folder}/
            DESTINATION ${KITE_INSTALL_INCLUDEDIR}/${folder}
            FILES_MATCHING PATTERN "*_export.hpp")
    endforeach()
endfunction()

# The package configuration, the resources and the Debian package (cpack -G DEB).
function(kite_install_package)
    install(EXPORT kiteTargets NAMESPACE kite:: DESTINATION ${KITE_INSTALL_CMAKEDIR})
    configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/kiteConfig.cmake.in
        ${PROJECT_BINARY_DIR}/kiteConfig.cmake
        INSTALL_DESTINATION ${KITE_INSTALL_CMAKEDIR}
        PATH_VARS KITE_INSTALL_DATADIR)
    write_basic_package_version_file(${PROJECT_BINARY_DIR}/kiteConfigVersion.cmake
        COMPATIBILITY SameMinorVersion)
    install(FILES ${PROJECT_BINARY_DIR}/kiteConfig.cmake ${PROJECT_BINARY_DIR}/kiteConfigVersion.cmake
        DESTINATION ${KITE_INSTALL_CMAKEDIR})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/ DESTINATION ${KITE_INSTALL_DATADIR}/resources)
endfunction()
