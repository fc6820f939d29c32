# The Windows program's resources (icon, version information, manifest) and the zip for
# players: kav-windows.zip at the top of the source tree, a folder kav/ with the stripped
# kav.exe, map/, gfx/, sfx/, the licence and the player's notes, both with Windows line ends.

enable_language(RC)
set(KAV_ICON ${CMAKE_SOURCE_DIR}/dist/icons/kav.ico)
set(KAV_MANIFEST ${CMAKE_SOURCE_DIR}/dist/windows/kav.exe.manifest)
set(KAV_VERSION ${PROJECT_VERSION})
set(KAV_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(KAV_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(KAV_VERSION_PATCH ${PROJECT_VERSION_PATCH})
configure_file(${CMAKE_SOURCE_DIR}/dist/windows/kav.rc.in ${CMAKE_BINARY_DIR}/kav.rc @ONLY)
target_sources(kav PRIVATE ${CMAKE_BINARY_DIR}/kav.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/kav.rc PROPERTIES OBJECT_DEPENDS "${KAV_ICON};${KAV_MANIFEST}")

configure_file(${CMAKE_SOURCE_DIR}/dist/windows/README-windows.txt ${CMAKE_BINARY_DIR}/notes/README-windows.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/notes/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

set(KAV_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package/kav)
add_custom_target(kav-windows-zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${CMAKE_BINARY_DIR}/package
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KAV_PACKAGE_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:kav> ${KAV_PACKAGE_DIR}/
  COMMAND ${CMAKE_STRIP} ${KAV_PACKAGE_DIR}/kav.exe
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/map ${KAV_PACKAGE_DIR}/map
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/gfx ${KAV_PACKAGE_DIR}/gfx
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/sfx ${KAV_PACKAGE_DIR}/sfx
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/notes/README-windows.txt ${CMAKE_BINARY_DIR}/notes/LICENSE.txt
          ${KAV_PACKAGE_DIR}/
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package
          ${CMAKE_COMMAND} -E tar cf ${CMAKE_SOURCE_DIR}/kav-windows.zip --format=zip kav
  DEPENDS kav
  COMMENT "Writing kav-windows.zip"
  VERBATIM)
