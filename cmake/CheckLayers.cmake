cmake_minimum_required(VERSION 3.25)
# Fails when a source under src/ includes a folder of a higher layer, or when two folders
# include each other. Run as: cmake -DSOURCE_DIR=<path of src> -P CheckLayers.cmake
#
# The layers, lowest first. Folders joined by commas are peers: one may include another, but
# never both ways. `ui` (bezel, popovers, hints and the desktop-service interfaces) sits low
# because capture intake, the editor window and the shell all use it; `platform` implements
# interfaces declared below it.
set(LAYERS base settings analysis,export,presets,ui capture,render editor platform app,cli)

set(rank 0)
foreach(layer IN LISTS LAYERS)
    string(REPLACE "," ";" folders "${layer}")
    foreach(folder IN LISTS folders)
        set(RANK_${folder} ${rank})
    endforeach()
    math(EXPR rank "${rank} + 1")
endforeach()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*/*.h ${SOURCE_DIR}/*/*.cpp)
set(failures "")
set(edges "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[^/]+" own "${source}")
    if(NOT DEFINED RANK_${own})
        list(APPEND failures "src/${source}: folder '${own}' has no layer (declare it in ${CMAKE_CURRENT_LIST_FILE})")
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"/]+)/.*$" "\\1" target "${line}")
        if(target STREQUAL own OR NOT DEFINED RANK_${target})
            continue()
        endif()
        if(RANK_${target} GREATER RANK_${own})
            list(APPEND failures "src/${source}: ${own} includes ${target}, a higher layer")
        endif()
        list(APPEND edges "${own}>${target}")
        set(EXAMPLE_${own}_${target} "src/${source}")
    endforeach()
endforeach()

list(REMOVE_DUPLICATES edges)
foreach(edge IN LISTS edges)
    string(REPLACE ">" ";" pair "${edge}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    if("${to}>${from}" IN_LIST edges AND from STRLESS to)
        list(APPEND failures
            "${from} and ${to} include each other (${EXAMPLE_${from}_${to}}, ${EXAMPLE_${to}_${from}})")
    endif()
endforeach()

if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "Layering broken:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "Layering holds across ${count} files")
