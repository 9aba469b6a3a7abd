# vx_assemble_dist(): the distribution folder ${CMAKE_BINARY_DIR}/dist, holding exactly what a
# user downloads: the installer, 7zCore.dll and vx.7z. Call it at the end of the top-level
# CMakeLists, after every folder is added; it takes whichever of those targets exist, so it is
# right before the installer and the library are built and complete once they are.
# payload/ also schedules a call for the end of the top-level directory, so the folder exists
# even before the top level calls it; the second call does nothing.
include_guard(GLOBAL)
set(VX_DIST_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/AssembleDist.cmake CACHE INTERNAL "")

function(vx_assemble_dist)
  if(NOT VX_WINDOWS OR VX_FUZZ OR TARGET vx_dist)
    return()
  endif()
  set(files)
  set(deps)
  foreach(t OstrelSetup 7zCore)
    if(TARGET ${t})
      list(APPEND files $<TARGET_FILE:${t}>)
      list(APPEND deps ${t})
    endif()
  endforeach()
  if(TARGET vx_payload)
    list(APPEND files ${VX_PAYLOAD_7Z})
    list(APPEND deps vx_payload)
  endif()
  string(REPLACE ";" "|" joined "${files}")
  add_custom_target(vx_dist ALL
    COMMAND ${CMAKE_COMMAND} -DDIST=${CMAKE_BINARY_DIR}/dist "-DFILES=${joined}" -P ${VX_DIST_SCRIPT}
    COMMENT "Assembling the distribution folder dist/"
    VERBATIM)
  if(deps)
    add_dependencies(vx_dist ${deps})
  endif()
  add_test(NAME dist_contents
    COMMAND ${CMAKE_COMMAND} -DCHECK=ON -DDIST=${CMAKE_BINARY_DIR}/dist "-DFILES=${joined}" -P ${VX_DIST_SCRIPT})
endfunction()
