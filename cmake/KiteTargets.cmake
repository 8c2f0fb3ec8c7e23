# Helpers shared by every module: one place for warnings, include roots and symbol exports.

include(GenerateExportHeader)

# Build choices of kite's own code. They stay private: a client keeps its own warnings and may
# use Qt's keywords (signals, slots, emit) next to kite's headers.
function(kite_private_options name)
    target_compile_options(${name} PRIVATE -Wall -Wextra)
    target_compile_definitions(${name} PRIVATE QT_NO_KEYWORDS)
endfunction()

# kite_add_library(<name> [STATIC] SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# A library of kite: static or shared as BUILD_SHARED_LIBS says, with only what its headers
# mark <NAME>_EXPORT visible outside it. Its export header is <folder>/<name>_export.hpp,
# generated into the build tree. STATIC makes a program's own library, always static and
# without an export header.
function(kite_add_library name)
    cmake_parse_arguments(ARG "STATIC" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    if(ARG_STATIC)
        add_library(${name} STATIC ${ARG_SOURCES})
    else()
        add_library(${name} ${ARG_SOURCES})
        file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
        string(TOUPPER ${name} base)
        generate_export_header(${name} BASE_NAME ${base}
            EXPORT_FILE_NAME ${PROJECT_BINARY_DIR}/include/${folder}/${name}_export.hpp)
        get_target_property(type ${name} TYPE)
        if(type STREQUAL "STATIC_LIBRARY")
            target_compile_definitions(${name} PUBLIC ${base}_STATIC_DEFINE)
        endif()
        set_target_properties(${name} PROPERTIES
            CXX_VISIBILITY_PRESET hidden
            VISIBILITY_INLINES_HIDDEN ON)
    endif()
    target_include_directories(${name} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
        $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>)
    kite_private_options(${name})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# kite_add_test(<name> SOURCES ... LIBS ...): a GoogleTest binary registered with CTest.
function(kite_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    kite_private_options(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    # Tests find their data files through this path, wherever the build tree is.
    target_compile_definitions(${name} PRIVATE KITE_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    gtest_discover_tests(${name}
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
        DISCOVERY_TIMEOUT 60)
endfunction()

# kite_add_benchmark(<name> SOURCES ... LIBS ...)
function(kite_add_benchmark name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    kite_private_options(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
