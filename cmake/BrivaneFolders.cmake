# moc's run of a target depends only on the files it saw last time, so a header added to
# a globbed folder would never be looked at in an existing build folder: when the list of
# headers changes, drop the run's stamp so that it runs again.
function(brivane_moc_follows_headers target)
  set(headers ${ARGN})
  list(FILTER headers INCLUDE REGEX "\\.h$")
  string(SHA1 digest "${headers}")
  if(NOT digest STREQUAL "${BRIVANE_MOC_HEADERS_${target}}")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
    set(BRIVANE_MOC_HEADERS_${target} ${digest} CACHE INTERNAL "Headers moc has seen")
  endif()
endfunction()

# A source folder of the program is one static library of every .cpp in it, in the layer
# that cmake/LayerTable.cmake gives the folder.
function(brivane_folder_library target)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${target} STATIC ${sources})
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  brivane_moc_follows_headers(${target} ${sources})
  brivane_layer_target(${target})
endfunction()

# A test folder is one test program of every .cpp in it; further arguments (TIMEOUT)
# go to brivane_test.
function(brivane_folder_test target)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  brivane_test(${target} ${sources} ${ARGN})
  brivane_moc_follows_headers(${target} ${sources})
endfunction()
