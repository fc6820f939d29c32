# The web build: the game as WebAssembly with the browser backend, from the same layer
# libraries as every other build. Made with emscripten's CMake wrapper:
#   emcmake cmake -S . -B build-web && cmake --build build-web -j2
# The whole page goes to www/ in the build folder: kav.html (from platform/web/), kav.js,
# kav.wasm, kav.data holding map/, gfx/ and sfx/, the licence, and the picture shown before
# the game starts.

# emscripten's tools run under node and need Debian's node modules at -O1 and above.
set_property(GLOBAL PROPERTY RULE_LAUNCH_LINK "env NODE_PATH=/usr/share/nodejs")

# The browser backend (the GL it completes for the drawing is kav_gl's, in the top file).
add_library(kav_platform_web STATIC platform/web/web_platform.cpp platform/web/web_audio.cpp)
target_link_libraries(kav_platform_web PUBLIC kav_message_ring kav_gl)

# emscripten's file system under the page answers the POSIX file calls. The page's entry
# (platform/web/main.cpp) is the program's.
add_executable(kav platform/web/main.cpp)
target_link_libraries(kav PRIVATE kav_shell kav_platform_web)
file(GLOB_RECURSE KAV_WEB_DATA CONFIGURE_DEPENDS map/* gfx/* sfx/*)
target_link_options(kav PRIVATE -O2
    -sLEGACY_GL_EMULATION=1 -sMAX_WEBGL_VERSION=1 -sMIN_WEBGL_VERSION=1
    -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1
    -sEXPORTED_RUNTIME_METHODS=ccall,UTF8ToString,FS
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/map@/map"
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/gfx@/gfx"
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/sfx@/sfx")
set_target_properties(kav PROPERTIES SUFFIX ".js"
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/www
                      LINK_DEPENDS "${KAV_WEB_DATA}")
configure_file(platform/web/kav.html ${CMAKE_BINARY_DIR}/www/kav.html COPYONLY)
configure_file(LICENSE ${CMAKE_BINARY_DIR}/www/LICENSE.txt COPYONLY)
configure_file(dist/screenshot.png ${CMAKE_BINARY_DIR}/www/kav-screen.png COPYONLY)
