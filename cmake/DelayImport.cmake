# Delay-loaded system DLLs for one program: nw_delay_import(TARGET dll...) builds, from the
# toolchain's import library of each DLL, a delay-import library of the same name in a folder that
# only TARGET searches first. The program's link line stays as it is; those DLLs then load on the
# first call into them instead of before the program's first line runs.
function(nw_delay_import target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/delay-import)
  set(libs)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(underscore ON)
  else()
    set(underscore OFF)
  endif()
  foreach(dll ${ARGN})
    find_library(nw_import_${dll} NAMES lib${dll}.a REQUIRED NO_CACHE)
    set(def ${dir}/${dll}.def)
    set(lib ${dir}/lib${dll}.a)
    add_custom_command(
      OUTPUT ${lib}
      COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DIMPORT_LIB=${nw_import_${dll}} -DDLL=${dll}.dll -DDEF=${def}
              -DUNDERSCORE=${underscore}
              -P ${PROJECT_SOURCE_DIR}/cmake/DelayImportDef.cmake
      # --kill-at: 32-bit names are looked up undecorated, as the DLLs export them.
      COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
      DEPENDS ${nw_import_${dll}} ${PROJECT_SOURCE_DIR}/cmake/DelayImportDef.cmake
      COMMENT "Delay-import library for ${dll}.dll"
      VERBATIM)
    list(APPEND libs ${lib})
  endforeach()
  add_custom_target(${target}_delay_import DEPENDS ${libs})
  add_dependencies(${target} ${target}_delay_import)
  target_link_directories(${target} BEFORE PRIVATE ${dir})
endfunction()
