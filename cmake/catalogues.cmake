# The compiled message catalogues: msgfmt turns each po/LANG.po into
# <build>/locale/LANG/LC_MESSAGES/tetherorb2.mo, where the game run from the
# build tree reads them (beside its executable). Included by the desktop and
# the web build; TETHERORB_CATALOGUES lists the .mo files made.
find_program(MSGFMT msgfmt REQUIRED)
file(GLOB TETHERORB_PO_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
set(TETHERORB_LOCALE_DIR ${CMAKE_BINARY_DIR}/locale)
file(MAKE_DIRECTORY ${TETHERORB_LOCALE_DIR})   # the web build packs it, even empty
set(TETHERORB_CATALOGUES "")
set(TETHERORB_LANGUAGES "")
foreach(po ${TETHERORB_PO_FILES})
  get_filename_component(lang ${po} NAME_WE)
  set(mo ${TETHERORB_LOCALE_DIR}/${lang}/LC_MESSAGES/tetherorb2.mo)
  add_custom_command(OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TETHERORB_LOCALE_DIR}/${lang}/LC_MESSAGES
    COMMAND ${MSGFMT} --check --output-file=${mo} ${po}
    DEPENDS ${po} VERBATIM)
  list(APPEND TETHERORB_CATALOGUES ${mo})
  list(APPEND TETHERORB_LANGUAGES ${lang})
endforeach()
add_custom_target(tetherorb2-catalogues ALL DEPENDS ${TETHERORB_CATALOGUES})
