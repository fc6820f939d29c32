# The web build: the game as WebAssembly with the browser backend. Made with emscripten's
# CMake wrapper:
#   emcmake cmake -S . -B build-web && cmake --build build-web -j2
# The whole page goes to www/ in the build folder: kav.html (from platform/web/), kav.js, kav.wasm,
# and kav.data holding map/ and gfx/.

# emscripten's tools run under node and need Debian's node modules at -O1 and above.
set_property(GLOBAL PROPERTY RULE_LAUNCH_LINK "env NODE_PATH=/usr/share/nodejs")

# The JSON library is header-only: the compiler sees its folder and nothing else of the
# host's include tree.
find_path(KAV_NLOHMANN_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(KAV_WEB_INCLUDE ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${KAV_WEB_INCLUDE})
file(CREATE_LINK ${KAV_NLOHMANN_DIR}/nlohmann ${KAV_WEB_INCLUDE}/nlohmann SYMBOLIC)

# emscripten's file system under the page answers the POSIX file calls.
file(GLOB KAV_WEB_SOURCES CONFIGURE_DEPENDS
     world/*.cpp sim/*.cpp render/*.cpp shell/*.cpp platform/web/*.cpp platform/files_posix.cpp)
list(FILTER KAV_WEB_SOURCES EXCLUDE REGEX "shell/main\\.cpp$")
file(GLOB_RECURSE KAV_WEB_DATA CONFIGURE_DEPENDS map/* gfx/*)

add_executable(kav ${KAV_WEB_SOURCES})
target_include_directories(kav PRIVATE ${CMAKE_SOURCE_DIR} ${KAV_WEB_INCLUDE})
target_link_options(kav PRIVATE -O2
    -sLEGACY_GL_EMULATION=1 -sMAX_WEBGL_VERSION=1 -sMIN_WEBGL_VERSION=1
    -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1
    -sEXPORTED_RUNTIME_METHODS=ccall,UTF8ToString,FS
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/map@/map"
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/gfx@/gfx")
set_target_properties(kav PROPERTIES SUFFIX ".js"
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/www
                      LINK_DEPENDS "${KAV_WEB_DATA}")
configure_file(platform/web/kav.html ${CMAKE_BINARY_DIR}/www/kav.html COPYONLY)
