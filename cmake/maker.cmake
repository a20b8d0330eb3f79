# The maker's addresses in the About box. Empty keeps the ones built into
# src/about_box/maker.cpp; a build for another maker sets its own:
#   cmake --preset windows -DDAYVANE_CONTACT_EMAIL=me@example.org -DDAYVANE_WEB_SITE=https://example.org/
set(DAYVANE_CONTACT_EMAIL "" CACHE STRING "Contact e-mail address of the About box (empty: the built-in one)")
set(DAYVANE_WEB_SITE "" CACHE STRING "Web-site address of the About box, scheme included (empty: the built-in one)")

# Both go to the shell as they are: no blanks, quotes or backslashes.
if(DAYVANE_CONTACT_EMAIL)
  if(NOT DAYVANE_CONTACT_EMAIL MATCHES "^[^@ \t\"\\\\]+@[^@ \t\"\\\\]+$")
    message(FATAL_ERROR "DAYVANE_CONTACT_EMAIL is no e-mail address: '${DAYVANE_CONTACT_EMAIL}'")
  endif()
  set_property(SOURCE src/about_box/maker.cpp APPEND PROPERTY COMPILE_DEFINITIONS
    "DAYVANE_CONTACT_EMAIL=\"${DAYVANE_CONTACT_EMAIL}\"")
endif()
if(DAYVANE_WEB_SITE)
  if(NOT DAYVANE_WEB_SITE MATCHES "^https?://[^ \t\"\\\\]+$")
    message(FATAL_ERROR "DAYVANE_WEB_SITE is no http or https address: '${DAYVANE_WEB_SITE}'")
  endif()
  set_property(SOURCE src/about_box/maker.cpp APPEND PROPERTY COMPILE_DEFINITIONS
    "DAYVANE_WEB_SITE=\"${DAYVANE_WEB_SITE}\"")
endif()

# The same addresses for the installer's "Apps & features" entry (support and
# about links): scripts/package.sh hands this file to makensis.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/about_box/maker.cpp maker_defaults REGEX "^#define DAYVANE_[A-Z_]+ \"")
foreach(name CONTACT_EMAIL WEB_SITE)
  set(maker_${name} "${DAYVANE_${name}}")
  if(NOT maker_${name})
    string(REGEX MATCH "DAYVANE_${name} \"([^\"]+)\"" ignored "${maker_defaults}")
    set(maker_${name} "${CMAKE_MATCH_1}")
  endif()
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/maker.nsh CONTENT
  "!define MAKER_CONTACT_EMAIL \"@maker_CONTACT_EMAIL@\"\n!define MAKER_WEB_SITE \"@maker_WEB_SITE@\"\n" @ONLY)
