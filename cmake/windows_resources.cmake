# pelmiro_windows_resources(TARGET): the Windows executable's icon, manifest and version
# information, made from the project's version and the licence's copyright line.
function(pelmiro_windows_resources target)
  set(PELMIRO_ASSETS ${PROJECT_SOURCE_DIR}/assets)
  file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE PELMIRO_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
  set(PELMIRO_VERSION4 ${PROJECT_VERSION}.0)
  string(REPLACE "." "," PELMIRO_VERSION_COMMAS ${PELMIRO_VERSION4})
  set(PELMIRO_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/pelmiro.manifest)
  configure_file(${PELMIRO_ASSETS}/pelmiro.manifest.in ${PELMIRO_MANIFEST} @ONLY)
  configure_file(${PELMIRO_ASSETS}/pelmiro.rc.in ${CMAKE_CURRENT_BINARY_DIR}/pelmiro.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/pelmiro.rc)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/pelmiro.rc APPEND PROPERTY OBJECT_DEPENDS
    ${PELMIRO_ASSETS}/pelmiro.ico ${PELMIRO_MANIFEST} ${PELMIRO_VERSION_BLOCKS})
endfunction()
