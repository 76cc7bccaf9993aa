# cmake -P script: the module-definition file of a DLL's functions, read from its import library
# (NM, IMPORT_LIB, DLL, DEF; UNDERSCORE on 32-bit, where C names carry a leading underscore). A function has a thunk ("T") beside its "__imp_" pointer; data exports
# have no thunk and cannot be delay-loaded, so they are left out.
execute_process(COMMAND ${NM} -g --defined-only ${IMPORT_LIB} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} could not read ${IMPORT_LIB}")
endif()
string(REGEX MATCHALL "[0-9a-fA-F]+ T [^\n]+" thunks "${symbols}")
set(names)
foreach(thunk ${thunks})
  string(REGEX REPLACE "^[0-9a-fA-F]+ T " "" name "${thunk}")
  if(UNDERSCORE)
    string(REGEX REPLACE "^_" "" name "${name}")  # "_Shell_NotifyIconW@20"
  endif()
  list(APPEND names "  ${name}")
endforeach()
list(REMOVE_DUPLICATES names)
list(JOIN names "\n" body)
file(WRITE ${DEF} "LIBRARY ${DLL}\nEXPORTS\n${body}\n")
