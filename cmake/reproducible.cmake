# The same commit gives the same Dayvane.exe, whatever folder it is built in
# and whenever: no build paths in what the compiler writes (__FILE__, debug
# records), and no link time in the PE header (its date comes from nothing).
if(MSVC)
  add_link_options(/Brepro)
  add_compile_options(/Brepro)
else()
  add_compile_options("-ffile-prefix-map=${CMAKE_SOURCE_DIR}=." "-ffile-prefix-map=${CMAKE_BINARY_DIR}=.")
  if(WIN32)
    add_link_options(-Wl,--no-insert-timestamp)
  endif()
endif()
