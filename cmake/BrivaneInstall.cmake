# Installed, the program folder keeps the shape the build gives build/bin (shows built
# by the program take the players and modules from beside it) under lib/brivane/;
# the marker file there sends the user's files to $XDG_DATA_HOME/brivane/ instead.
# Launchers on the PATH link to the programs, which find their folder through
# /proc/self/exe. Included last, when every target is known.
set(BRIVANE_INSTALL_DIR lib/brivane)
set(BRIVANE_APP_ID org.brivane.Brivane)
set(BRIVANE_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Every program and module the build writes into the program folder, wherever it is
# defined: the executables and shared libraries whose output folder is that folder.
function(brivane_program_folder_targets var directory)
  set(found "")
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(excluded ${target} EXCLUDE_FROM_ALL)
    if(excluded)
      continue()
    endif()
    if(type STREQUAL "EXECUTABLE")
      get_target_property(output ${target} RUNTIME_OUTPUT_DIRECTORY)
    elseif(type MATCHES "^(SHARED|MODULE)_LIBRARY$")
      get_target_property(output ${target} LIBRARY_OUTPUT_DIRECTORY)
    else()
      continue()
    endif()
    if(output STREQUAL BRIVANE_PROGRAM_DIR)
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(children DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(child IN LISTS children)
    brivane_program_folder_targets(child_targets ${child})
    list(APPEND found ${child_targets})
  endforeach()
  set(${var} ${found} PARENT_SCOPE)
endfunction()

brivane_program_folder_targets(program_targets ${PROJECT_SOURCE_DIR})
install(TARGETS ${program_targets}
  RUNTIME DESTINATION ${BRIVANE_INSTALL_DIR}
  LIBRARY DESTINATION ${BRIVANE_INSTALL_DIR})

# Shipped content, as content/ lists it (user files in the program folder stay out).
get_property(content_files GLOBAL PROPERTY BRIVANE_CONTENT_FILES)
foreach(file IN LISTS content_files)
  get_filename_component(folder ${file} DIRECTORY)
  install(FILES ${BRIVANE_PROGRAM_DIR}/${file} DESTINATION ${BRIVANE_INSTALL_DIR}/${folder})
endforeach()
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/help/pages/ DESTINATION ${BRIVANE_INSTALL_DIR}/help)
install(FILES ${PROJECT_SOURCE_DIR}/platform/imagelib/fil/magick/policy.xml
  DESTINATION ${BRIVANE_INSTALL_DIR}/magick)
file(GLOB upload_server_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/service/ftp/*.py)
install(FILES ${upload_server_files} DESTINATION ${BRIVANE_INSTALL_DIR}/service)

set(staging ${CMAKE_BINARY_DIR}/install-staging)
file(MAKE_DIRECTORY ${staging}/bin ${staging}/icons ${staging}/man)
file(TOUCH ${staging}/brivane-installed)
install(FILES ${staging}/brivane-installed DESTINATION ${BRIVANE_INSTALL_DIR})

# Relative links, so that the install can move as a whole (a package's DESTDIR).
set(launchers quendal brivane brivane-service)
foreach(program IN LISTS launchers)
  file(CREATE_LINK ../${BRIVANE_INSTALL_DIR}/${program} ${staging}/bin/${program} SYMBOLIC)
  install(FILES ${staging}/bin/${program} DESTINATION bin)
endforeach()

install(FILES ${BRIVANE_PACKAGING_DIR}/${BRIVANE_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${BRIVANE_PACKAGING_DIR}/${BRIVANE_APP_ID}.metainfo.xml DESTINATION share/metainfo)

# Desktop icons: the window icon, drawn by the same tool as the rest of the content.
set(icon_source ${PROJECT_SOURCE_DIR}/content/resources/window-icon.svg)
set(icon_files "")
foreach(size 16 22 24 32 48 64 128 256)
  set(icon ${staging}/icons/${size}/${BRIVANE_APP_ID}.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND brivane-render --size ${size}x${size} -o ${icon} ${icon_source}
    DEPENDS brivane-render ${icon_source}
    COMMENT "Rendering the ${size} px desktop icon"
    VERBATIM)
  list(APPEND icon_files ${icon})
  install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()

# Manual pages and the package's changelog are installed compressed, as Debian wants.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(compressed_files "")
function(brivane_compressed source output destination)
  add_custom_command(OUTPUT ${output}
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${source} > ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${output}")
  set(compressed_files ${compressed_files} ${output} PARENT_SCOPE)
  install(FILES ${output} DESTINATION ${destination})
endfunction()
foreach(program IN LISTS launchers)
  brivane_compressed(${BRIVANE_PACKAGING_DIR}/man/${program}.1 ${staging}/man/${program}.1.gz
    share/man/man1)
endforeach()
brivane_compressed(${BRIVANE_PACKAGING_DIR}/changelog ${staging}/changelog.Debian.gz
  share/doc/brivane)
install(FILES ${BRIVANE_PACKAGING_DIR}/copyright DESTINATION share/doc/brivane)
install(FILES ${BRIVANE_PACKAGING_DIR}/lintian-overrides DESTINATION share/lintian/overrides
  RENAME brivane)

add_custom_target(brivane-install-files ALL DEPENDS ${icon_files} ${compressed_files})

include(${BRIVANE_PACKAGING_DIR}/BrivaneCPack.cmake)
