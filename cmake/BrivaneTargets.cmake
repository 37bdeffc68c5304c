# Imaging modules keep the file names that built shows carry (ltkrn10n.dll ...);
# they are ELF shared objects found beside the program through $ORIGIN.
function(brivane_module target file_stem)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    OUTPUT_NAME ${file_stem}
    SUFFIX ".dll"
    BUILD_WITH_INSTALL_RPATH ON
    INSTALL_RPATH "$ORIGIN")
  # A module is the folder of its sources.
  list(GET ARGN 0 first_source)
  get_filename_component(folder ${first_source} DIRECTORY)
  brivane_layer_target(${target} FOLDER ${folder})
  brivane_split_debug(${target})
endfunction()

# Every built show carries the players and the modules: their debugging sections move to
# NAME.debug beside them (gdb follows the debug link), so a show holds only the code.
function(brivane_split_debug target)
  if(BRIVANE_SANITIZE OR NOT CMAKE_OBJCOPY)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
            $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()

function(brivane_program target)
  add_executable(${target} ${ARGN})
  set_target_properties(${target} PROPERTIES
    BUILD_WITH_INSTALL_RPATH ON
    INSTALL_RPATH "$ORIGIN")
  brivane_layer_target(${target})
endfunction()

# One test program per source folder; tests live outside the program folder.
#   brivane_test(<target> <source>... [TIMEOUT <seconds>])
# TIMEOUT: how long any one test may run before CTest stops it as hung.
function(brivane_test target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "TIMEOUT" "")
  set(timeout "")
  if(arg_TIMEOUT)
    set(timeout TIMEOUT ${arg_TIMEOUT})
  endif()
  add_executable(${target} ${arg_UNPARSED_ARGUMENTS})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main GTest::gmock)
  # Tests may include anything, whatever layer it belongs to.
  target_include_directories(${target} PRIVATE
    ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/platform ${PROJECT_SOURCE_DIR}/platform/imagelib
    ${PROJECT_SOURCE_DIR}/players ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${target} PRIVATE
    BRIVANE_PROGRAM_DIR="${BRIVANE_PROGRAM_DIR}/"
    BRIVANE_SOURCE_DIR="${PROJECT_SOURCE_DIR}/"
    BRIVANE_SCREENSHOT_DIR="${CMAKE_BINARY_DIR}/screenshots/")
  # Tests find the program folder through BRIVANE_PROGRAM_DIR; screenshots that tests
  # take for people to look at go to BRIVANE_SCREENSHOT_DIR.
  gtest_discover_tests(${target}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen ${timeout})
endfunction()
include(GoogleTest)

# A small program a test program starts as a child, to see how it ends or what it leaves.
#   brivane_test_probe(<test target> <probe target> <source> <definition> LINKS <library>...)
# The test program gets <definition> = the probe's path.
function(brivane_test_probe test probe source definition)
  cmake_parse_arguments(PARSE_ARGV 4 arg "" "" "LINKS")
  add_executable(${probe} ${source})
  set_target_properties(${probe} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/probe)
  target_link_libraries(${probe} PRIVATE ${arg_LINKS})
  add_dependencies(${test} ${probe})
  target_compile_definitions(${test} PRIVATE ${definition}="$<TARGET_FILE:${probe}>")
endfunction()
