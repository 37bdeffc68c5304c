# Runs scripts/check-layers.cmake on a stand-in tree: controls may use library and the
# imaging modules, but links only krn; library uses nothing.
#   cmake -DCHECKER=<check-layers.cmake> -DWORK=<scratch folder> -P LayerCheckTest.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
file(WRITE ${WORK}/resolved.cmake [=[
set(LAYER_NAMES "app;mainwindow;controls;library;krn;twn;web")
set(LAYER_controls_FOLDER "src/controls")
set(LAYER_controls_USES "library;krn;twn")
set(LAYER_controls_REACH "library;krn;twn")
set(LAYER_controls_SEES "library;krn")
set(LAYER_controls_TARGETS "brivane_controls")
set(LAYER_library_FOLDER "src/library")
set(LAYER_library_USES "krn")
set(LAYER_library_REACH "krn")
set(LAYER_library_SEES "krn")
set(LAYER_library_TARGETS "brivane_library")
set(LAYER_mainwindow_FOLDER "src/mainwindow")
set(LAYER_mainwindow_REACH "controls;library;krn;twn")
set(LAYER_app_FOLDER "src/app")
set(LAYER_twn_FOLDER "platform/imagelib/twn")
set(LAYER_twn_TARGETS "lttwn")
set(LAYER_web_FOLDER "src/web")
set(LAYER_web_REACH "mainwindow")
]=])
# Allowed: its own folder, a neighbour, what it may use and links, other libraries'
# headers, and an include that is only mentioned in a comment.
file(WRITE ${WORK}/src/controls/Good.cpp [=[
#include "controls/Good.h"

#include <QWidget>
#include <gtest/gtest.h>

#include "Neighbour.h"
#include "krn/ltkrn.h"
#include "library/Store.h"
// #include "mainwindow/CMainDialog.h" would go the wrong way
]=])
set(wrong [=[
#pragma once
#include "mainwindow/CMainDialog.h"
#include "twn/ScanOption.h"
#include "../mainwindow/Menu.h"
#  include <app/CMainApp.h>
]=])
file(WRITE ${WORK}/src/controls/sub/Wrong.h "${wrong}")
# An unmatched "[" before it must not hide an include.
file(WRITE ${WORK}/src/library/Store.h "// [0, 255)\n\n#include \"controls/Good.h\"\n")
# A folder that the table names but no target builds is not looked at.
file(WRITE ${WORK}/src/web/Page.cpp "#include \"mainwindow/CMainDialog.h\"\n")

function(run_check out_result out_output)
  execute_process(COMMAND ${CMAKE_COMMAND} -DRESOLVED=${WORK}/resolved.cmake -DSOURCE_DIR=${WORK} -P ${CHECKER}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${out_result} ${result} PARENT_SCOPE)
  set(${out_output} "${output}" PARENT_SCOPE)
endfunction()

run_check(result output)
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed wrong includes:\n${output}")
endif()
foreach(expected
    "src/controls/sub/Wrong.h:2: #include \"mainwindow/CMainDialog.h\"\n  src/controls may not include mainwindow/ (src/mainwindow)"
    "controls USES library krn twn; with what those use, controls may include library, krn, twn"
    "src/controls/sub/Wrong.h:3: #include \"twn/ScanOption.h\"\n  src/controls may include twn/ only where it links lttwn: not linked by brivane_controls"
    "src/controls/sub/Wrong.h:4: #include \"../mainwindow/Menu.h\"\n  climbs out of src/controls"
    "src/controls/sub/Wrong.h:5: #  include <app/CMainApp.h>\n  src/controls may not include app/"
    "src/library/Store.h:3: #include \"controls/Good.h\"\n  src/library may not include controls/")
  string(FIND "${output}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not report:\n${expected}\nIt said:\n${output}")
  endif()
endforeach()
foreach(unexpected "Good.cpp" "src/web")
  string(FIND "${output}" "${unexpected}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the check reported ${unexpected}, which is right:\n${output}")
  endif()
endforeach()

# With the wrong includes gone, the same tree passes.
file(REMOVE ${WORK}/src/controls/sub/Wrong.h)
file(WRITE ${WORK}/src/library/Store.h "#include \"krn/ltkrn.h\"\n")
run_check(result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the check refused right includes:\n${output}")
endif()
