# The layers of cmake/LayerTable.cmake, held by the build.
#
# Every target of a source folder exposes one include root: a folder in the build that
# holds only a link <name> -> the source folder. A target therefore sees the headers of
# its own folder and of the folders whose targets it links, and nothing else; at the end
# of the configuration brivane_check_layers() refuses every link that the table does not
# allow. A wrong-way #include thus finds no file, and a wrong-way link stops cmake.
# scripts/check-layers.cmake checks the #include lines themselves against the same table
# and names the rule broken; it runs as a test.

set(BRIVANE_LAYER_TABLE ${CMAKE_CURRENT_LIST_DIR}/LayerTable.cmake)
set(BRIVANE_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers/include)
set(BRIVANE_LAYER_RESOLVED ${CMAKE_BINARY_DIR}/layers/resolved.cmake)

# One line of the table.
function(brivane_layer folder name)
  cmake_parse_arguments(PARSE_ARGV 2 arg "NO_WIDGETS;NO_QT" "" "USES")
  if(arg_UNPARSED_ARGUMENTS OR NOT "USES" IN_LIST ARGN)
    message(FATAL_ERROR "${BRIVANE_LAYER_TABLE}: the line of ${folder} needs USES before the folders it may use")
  endif()
  get_property(names GLOBAL PROPERTY BRIVANE_LAYERS)
  if(name IN_LIST names)
    message(FATAL_ERROR "${BRIVANE_LAYER_TABLE}: ${name} has two lines")
  endif()
  set(qt ALL)
  if(arg_NO_WIDGETS)
    set(qt NO_WIDGETS)
  endif()
  if(arg_NO_QT)
    set(qt NO_QT)
  endif()
  set_property(GLOBAL APPEND PROPERTY BRIVANE_LAYERS ${name})
  set_property(GLOBAL PROPERTY BRIVANE_LAYER_${name}_FOLDER ${folder})
  set_property(GLOBAL PROPERTY BRIVANE_LAYER_${name}_USES ${arg_USES})
  set_property(GLOBAL PROPERTY BRIVANE_LAYER_${name}_QT ${qt})
  set_property(GLOBAL PROPERTY BRIVANE_LAYER_OF_${folder} ${name})
endfunction()

# In a function, so that the table's shorthand lists stay out of the project's variables.
function(brivane_read_layer_table)
  include(${BRIVANE_LAYER_TABLE})
endfunction()
brivane_read_layer_table()

# Makes a target part of its source folder's layer (by default the current folder's) and
# gives it, and everything that links it, the folder's include root.
function(brivane_layer_target target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "FOLDER" "")
  if(NOT arg_FOLDER)
    set(arg_FOLDER ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${arg_FOLDER})
  get_property(name GLOBAL PROPERTY BRIVANE_LAYER_OF_${folder})
  if(NOT name)
    message(FATAL_ERROR "${folder} has no line in cmake/LayerTable.cmake: add one that says which folders it may use")
  endif()
  set(root ${BRIVANE_LAYER_ROOTS}/${name})
  file(MAKE_DIRECTORY ${root})
  file(REMOVE ${root}/${name})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${name} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
  set_property(TARGET ${target} PROPERTY BRIVANE_LAYER ${name})
  set_property(GLOBAL APPEND PROPERTY BRIVANE_LAYER_TARGETS ${target})
  set_property(GLOBAL APPEND PROPERTY BRIVANE_LAYER_${name}_TARGETS ${target})
endfunction()

# The names a layer may use: its USES, and theirs, and so on.
function(brivane_layer_reach name out)
  set(reach "")
  get_property(queue GLOBAL PROPERTY BRIVANE_LAYER_${name}_USES)
  while(queue)
    list(POP_FRONT queue next)
    if(next IN_LIST reach)
      continue()
    endif()
    list(APPEND reach ${next})
    get_property(uses GLOBAL PROPERTY BRIVANE_LAYER_${next}_USES)
    list(APPEND queue ${uses})
  endwhile()
  list(REMOVE_ITEM reach ${name})
  set(${out} ${reach} PARENT_SCOPE)
endfunction()

# The targets a target links, itself or through what they pass on. With VISIBLE, only
# those whose include roots reach it: not the private links of the libraries it links.
function(brivane_linked_targets target out)
  cmake_parse_arguments(PARSE_ARGV 2 arg "VISIBLE" "" "")
  set(found "")
  get_target_property(queue ${target} LINK_LIBRARIES)
  while(queue)
    list(POP_FRONT queue item)
    if(item MATCHES "^\\$<LINK_ONLY:(.+)>$")
      if(arg_VISIBLE)
        continue()
      endif()
      set(item ${CMAKE_MATCH_1})
    endif()
    # Generator expressions other than LINK_ONLY, and cmake's markers of the folder that
    # added a link, name no target here.
    if(item MATCHES "\\$<|^::@" OR NOT TARGET ${item})
      continue()
    endif()
    get_target_property(aliased ${item} ALIASED_TARGET)
    if(aliased)
      set(item ${aliased})
    endif()
    if(item IN_LIST found)
      continue()
    endif()
    list(APPEND found ${item})
    get_target_property(passed ${item} INTERFACE_LINK_LIBRARIES)
    if(passed)
      list(APPEND queue ${passed})
    endif()
  endwhile()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Checks every registered target's links against the table, writes what each folder may
# include for scripts/check-layers.cmake, and adds the tests that watch both.
function(brivane_check_layers)
  get_property(names GLOBAL PROPERTY BRIVANE_LAYERS)
  get_property(targets GLOBAL PROPERTY BRIVANE_LAYER_TARGETS)
  set(errors "")
  foreach(target IN LISTS targets)
    get_target_property(name ${target} BRIVANE_LAYER)
    get_property(folder GLOBAL PROPERTY BRIVANE_LAYER_${name}_FOLDER)
    get_property(qt GLOBAL PROPERTY BRIVANE_LAYER_${name}_QT)
    brivane_layer_reach(${name} reach)
    brivane_linked_targets(${target} linked)
    foreach(dep IN LISTS linked)
      get_target_property(dep_name ${dep} BRIVANE_LAYER)
      if(dep_name AND NOT dep_name STREQUAL name AND NOT dep_name IN_LIST reach)
        list(JOIN reach " " allowed)
        string(APPEND errors "  ${target} (${folder}) links ${dep} (${dep_name}), against the layers:\n"
                             "    ${name} may use only: ${allowed}\n")
      endif()
      if((qt STREQUAL "NO_WIDGETS" AND dep MATCHES "^Qt6?::(Widgets|PrintSupport)$")
         OR (qt STREQUAL "NO_QT" AND dep MATCHES "^Qt6?::"))
        string(APPEND errors "  ${target} (${folder}) links ${dep}, but ${name} is marked ${qt}\n")
      endif()
    endforeach()
    brivane_linked_targets(${target} visible VISIBLE)
    foreach(dep IN LISTS visible)
      get_target_property(dep_name ${dep} BRIVANE_LAYER)
      if(dep_name)
        set_property(GLOBAL APPEND PROPERTY BRIVANE_LAYER_${name}_SEES ${dep_name})
      endif()
    endforeach()

    # What runs without a window must not load the widget libraries either.
    get_target_property(type ${target} TYPE)
    if(NOT qt STREQUAL "ALL" AND type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
      set(test Layers.NoWidgets.${target})
      set(forbidden "libQt6(Widgets|PrintSupport)")
      if(qt STREQUAL "NO_QT")
        set(test Layers.NoQt.${target})
        set(forbidden "libQt6")
      endif()
      add_test(NAME ${test}
        COMMAND ${CMAKE_COMMAND} -DFILES=$<TARGET_FILE:${target}> -DFORBIDDEN=${forbidden}
                -P ${PROJECT_SOURCE_DIR}/scripts/check-needed-libraries.cmake)
    endif()
  endforeach()
  if(errors)
    message(FATAL_ERROR "Links that go against cmake/LayerTable.cmake:\n${errors}")
  endif()

  set(resolved "# Written by cmake from cmake/LayerTable.cmake and the targets' links.\n")
  string(APPEND resolved "set(LAYER_NAMES \"${names}\")\n")
  foreach(name IN LISTS names)
    get_property(folder GLOBAL PROPERTY BRIVANE_LAYER_${name}_FOLDER)
    get_property(uses GLOBAL PROPERTY BRIVANE_LAYER_${name}_USES)
    get_property(name_targets GLOBAL PROPERTY BRIVANE_LAYER_${name}_TARGETS)
    get_property(sees GLOBAL PROPERTY BRIVANE_LAYER_${name}_SEES)
    brivane_layer_reach(${name} reach)
    list(REMOVE_DUPLICATES sees)
    string(APPEND resolved
      "set(LAYER_${name}_FOLDER \"${folder}\")\n"
      "set(LAYER_${name}_USES \"${uses}\")\n"
      "set(LAYER_${name}_REACH \"${reach}\")\n"
      "set(LAYER_${name}_SEES \"${sees}\")\n"
      "set(LAYER_${name}_TARGETS \"${name_targets}\")\n")
  endforeach()
  file(CONFIGURE OUTPUT ${BRIVANE_LAYER_RESOLVED} CONTENT "${resolved}" @ONLY)

  add_test(NAME Layers.IncludesFollowTheTable
    COMMAND ${CMAKE_COMMAND} -DRESOLVED=${BRIVANE_LAYER_RESOLVED} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
            -P ${PROJECT_SOURCE_DIR}/scripts/check-layers.cmake)
endfunction()
