# The web build, included by CMakeLists.txt under emscripten's toolchain:
# build-web/index.html with the .js, .wasm and .data files it loads.
# LODEPNG_DIR holds LodePNG from the npm package "lodepng", its lodepng.c
# copied to lodepng.cpp so that it compiles as C++ like the game.
if(NOT LODEPNG_DIR)
  message(FATAL_ERROR "LODEPNG_DIR must name the folder holding lodepng.c (make web fetches it)")
endif()
list(REMOVE_ITEM platform_SOURCES ${CMAKE_SOURCE_DIR}/src/platform/platform_desktop.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/hub_net_desktop.cpp)
# nlohmann-json is header-only: Debian's headers, seen through a folder of
# their own so that no other system header shadows emscripten's.
set(WEB_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${WEB_JSON_INCLUDE})
if(NOT EXISTS ${WEB_JSON_INCLUDE}/nlohmann)
  file(CREATE_LINK /usr/include/nlohmann ${WEB_JSON_INCLUDE}/nlohmann SYMBOLIC)
endif()

include(${CMAKE_SOURCE_DIR}/cmake/catalogues.cmake)

set(WEB_SHELL ${CMAKE_SOURCE_DIR}/src/platform/platform_web.html)
set(WEB_PRE_JS ${CMAKE_SOURCE_DIR}/src/platform/platform_web.js)
add_executable(tetherorb2 src/app/main.cpp ${game_SOURCES} ${render_SOURCES} ${ui_SOURCES}
  ${platform_SOURCES} ${app_SOURCES} ${LODEPNG_DIR}/lodepng.cpp)
set_target_properties(tetherorb2 PROPERTIES OUTPUT_NAME index SUFFIX .html)
target_include_directories(tetherorb2 PRIVATE ${CMAKE_SOURCE_DIR}/src ${LODEPNG_DIR} ${WEB_JSON_INCLUDE})
target_link_options(tetherorb2 PRIVATE
  -sLEGACY_GL_EMULATION=1
  -sEXPORTED_RUNTIME_METHODS=FS,ccall
  -sALLOW_MEMORY_GROWTH=1       # from emscripten's default start; the level, history and pictures grow it
  -sFORCE_FILESYSTEM=1
  -sMINIFY_HTML=0
  -lidbfs.js
  "SHELL:--shell-file ${WEB_SHELL}"
  "SHELL:--pre-js ${WEB_PRE_JS}"
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/Media@/game/Media"
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/Levels@/shipped/Levels"
  "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/tests/solutions@/game/tests/solutions"
  "SHELL:--preload-file ${TETHERORB_LOCALE_DIR}@/game/locale")
add_dependencies(tetherorb2 tetherorb2-catalogues)
set_property(TARGET tetherorb2 APPEND PROPERTY LINK_DEPENDS ${WEB_SHELL} ${WEB_PRE_JS} ${TETHERORB_CATALOGUES})
