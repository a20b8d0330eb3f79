# dayvane_delay_import(TARGET DLL...): TARGET imports each DLL (shell32,
# shcore, ...) at the first call into it instead of at process start.
#
# Imported the usual way, the loader resolves a DLL before wWinMain runs and
# looks beside the executable first, so a DLL of that name dropped there (a
# Downloads folder) would run. Delay-loaded, it comes after entry.cpp has
# limited the search to the system folder.
#
# mingw: a delay-import library made with dlltool from every name that the
# toolchain's own import library exports; MSVC: /DELAYLOAD.
function(dayvane_delay_import target)
  if(MSVC)
    foreach(dll IN LISTS ARGN)
      target_link_libraries(${target} PUBLIC ${dll})
      target_link_options(${target} PUBLIC /DELAYLOAD:${dll}.dll)
    endforeach()
    target_link_libraries(${target} PUBLIC delayimp)
    return()
  endif()

  if(NOT DAYVANE_DLLTOOL)
    find_program(DAYVANE_DLLTOOL NAMES ${CMAKE_LIBRARY_ARCHITECTURE}-dlltool x86_64-w64-mingw32-dlltool dlltool
                 REQUIRED)
  endif()
  if(NOT CMAKE_NM)
    message(FATAL_ERROR "no nm for the delay-import libraries")
  endif()
  set(dir ${CMAKE_BINARY_DIR}/delay-import)
  file(MAKE_DIRECTORY ${dir})
  foreach(dll IN LISTS ARGN)
    find_library(DAYVANE_IMPLIB_${dll} NAMES ${dll} REQUIRED)
    set(implib ${DAYVANE_IMPLIB_${dll}})
    set(def ${dir}/${dll}.def)
    set(out ${dir}/lib${dll}_delay.a)
    if(NOT EXISTS ${out} OR ${implib} IS_NEWER_THAN ${out})
      execute_process(COMMAND ${CMAKE_NM} -g ${implib} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
      string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
      list(TRANSFORM imports REPLACE " I __imp_" "")
      list(REMOVE_DUPLICATES imports)
      list(JOIN imports "\n" names)
      file(WRITE ${def} "LIBRARY ${dll}.dll\nEXPORTS\n${names}\n")
      execute_process(COMMAND ${DAYVANE_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${out}
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
    target_link_libraries(${target} PUBLIC ${out})
  endforeach()
endfunction()
