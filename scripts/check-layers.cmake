# Checks every #include of every source folder in cmake/LayerTable.cmake against the table:
# a folder includes its own headers and those of the folders it may use, and an imaging
# module's headers only when it links the module. Reports each wrong include with its
# file, line and the rule it breaks, and fails when there is one.
#   cmake -DRESOLVED=<build>/layers/resolved.cmake -DSOURCE_DIR=<source root> -P check-layers.cmake
# RESOLVED is written by cmake (cmake/BrivaneLayers.cmake) from the table and the links.
cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS "${RESOLVED}" OR NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "check-layers: give RESOLVED (the build's layers/resolved.cmake) and SOURCE_DIR")
endif()
include(${RESOLVED})

# "file:line: the line", for a line known to be in the file.
function(locate file shown line out)
  file(READ ${file} content)
  string(FIND "${content}" "${line}" at)
  string(SUBSTRING "${content}" 0 ${at} before)
  string(REGEX MATCHALL "\n" breaks "${before}")
  list(LENGTH breaks number)
  math(EXPR number "${number} + 1")
  string(STRIP "${line}" line)
  set(${out} "${shown}:${number}: ${line}" PARENT_SCOPE)
endfunction()

set(failures "")
set(checked 0)
foreach(name IN LISTS LAYER_NAMES)
  # Folders without a target are not built, so nothing of theirs reaches a program.
  if(NOT LAYER_${name}_TARGETS)
    continue()
  endif()
  set(folder ${LAYER_${name}_FOLDER})
  file(GLOB_RECURSE files LIST_DIRECTORIES false
       ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.hpp
       ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.cc)
  list(SORT files)
  foreach(file IN LISTS files)
    file(RELATIVE_PATH shown ${SOURCE_DIR} ${file})
    # Only the #include lines: a list of whole lines would come apart at an unmatched "[".
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^\">]+)[\">]")
        continue()
      endif()
      set(bracket ${CMAKE_MATCH_1})
      set(path ${CMAKE_MATCH_2})
      math(EXPR checked "${checked} + 1")
      set(problem "")
      # A name without a folder is the file's neighbour, or a system header; other
      # libraries' headers (<QtCore/...>, "exiv2/...") are not the table's business.
      set(used "")
      if(path MATCHES "^([^/]+)/")
        set(used ${CMAKE_MATCH_1})
      endif()
      if(bracket STREQUAL "\"" AND path MATCHES "(^|/)\\.\\.(/|$)")
        set(problem "climbs out of ${folder} with \"..\": include through a folder's name (\"library/PhotoStore.h\")")
      elseif(NOT used IN_LIST LAYER_NAMES OR used STREQUAL name)
      elseif(NOT used IN_LIST LAYER_${name}_REACH)
        list(JOIN LAYER_${name}_USES " " uses)
        list(JOIN LAYER_${name}_REACH ", " reach)
        set(problem "${folder} may not include ${used}/ (${LAYER_${used}_FOLDER}): the table says\n  ${name} USES ${uses}; with what those use, ${name} may include ${reach}")
      elseif(NOT used IN_LIST LAYER_${name}_SEES)
        list(JOIN LAYER_${name}_TARGETS " and " targets)
        list(JOIN LAYER_${used}_TARGETS " or " target)
        if(NOT target)
          set(target "a target of ${LAYER_${used}_FOLDER}")
        endif()
        set(problem "${folder} may include ${used}/ only where it links ${target}: not linked by ${targets}")
      endif()
      if(problem)
        locate(${file} ${shown} "${line}" where)
        string(APPEND failures "${where}\n  ${problem}\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  # NOTICE prints the lines as they are; FATAL_ERROR would rewrap them.
  message(NOTICE "Includes that go against the layer table (cmake/LayerTable.cmake):\n${failures}")
  message(FATAL_ERROR "check-layers: wrong includes, listed above")
endif()
message(STATUS "check-layers: ${checked} includes follow the layer table")
