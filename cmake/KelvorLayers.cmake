# Each library says which folders' headers its own files may include:
#   kelvor_layer(<library> MAY_INCLUDE <folder>...)
# Before the library compiles, CheckIncludes.cmake reads the #include "..."
# lines of the library's own files; one that names a header of a folder not
# in the list (its own folder is always allowed) fails the build. Qt's
# modules are held the same way by linking: a library that links only Qt
# Core or Gui finds no widget header.
function(kelvor_layer target)
    cmake_parse_arguments(arg "" "" "MAY_INCLUDE" ${ARGN})
    get_target_property(sources ${target} SOURCES)
    set(files)
    foreach(source ${sources})
        get_filename_component(source ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        if(source MATCHES "\\.(cpp|h)$" AND source MATCHES "^${PROJECT_SOURCE_DIR}/")
            list(APPEND files ${source})
        endif()
    endforeach()
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.includes.stamp)
    string(REPLACE ";" "," allowed "${folder};${arg_MAY_INCLUDE}")
    string(REPLACE ";" "," checked "${files}")
    add_custom_command(OUTPUT ${stamp}
                       COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} -DLIBRARY=${target}
                               "-DALLOWED=${allowed}" "-DFILES=${checked}"
                               -P ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
                       COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
                       DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
                       COMMENT "Checking what ${target} includes"
                       VERBATIM)
    add_custom_target(${target}_includes DEPENDS ${stamp})
    add_dependencies(${target} ${target}_includes)
endfunction()
