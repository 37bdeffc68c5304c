# Adds every folder below the current one that has a CMakeLists.txt.
function(brivane_add_subdirectories)
  file(GLOB children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*/CMakeLists.txt)
  list(SORT children)
  foreach(child ${children})
    get_filename_component(folder ${child} DIRECTORY)
    add_subdirectory(${folder})
  endforeach()
endfunction()
