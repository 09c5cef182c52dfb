# The Windows build, cross-built with mingw-w64 (cmake/mingw-w64-x86_64.cmake):
# driftlow.exe on the Win32 platform, and the test programs, which CTest runs
# under Wine. The folders describe themselves as on Linux; the platform's
# backend is the Win32 one.

# The made resources (logo, font strip, scroller text, music) and the
# generators' scripts come from a Linux tree whose tools made them.
set(DRIFTLOW_RESOURCES_FROM "" CACHE PATH "The Linux build tree whose resources/ holds the made files")
if(NOT DRIFTLOW_RESOURCES_FROM)
  message(FATAL_ERROR "The Windows build takes its made resources from a Linux tree: -DDRIFTLOW_RESOURCES_FROM=...")
endif()
set(DRIFTLOW_MADE ${DRIFTLOW_RESOURCES_FROM}/resources)

find_package(OpenGL REQUIRED)
find_package(JPEG REQUIRED)
find_package(Threads REQUIRED)

# The resources go into every program that looks them up by name.
configure_file(resources/driftlow.rc.in ${CMAKE_BINARY_DIR}/driftlow.rc @ONLY)
set(DRIFTLOW_RC ${CMAKE_BINARY_DIR}/driftlow.rc)

add_subdirectory(platform)
add_subdirectory(resources)
add_subdirectory(player)
add_subdirectory(textures)
add_subdirectory(scene)
add_subdirectory(shell)
# The module writer, portable, builds the songs of the engine's tests.
driftlow_library(driftlow_xm_writer tools/xm_writer)

enable_testing()
add_subdirectory(tests/windows)
set_source_files_properties(${DRIFTLOW_RC} DIRECTORY shell tests/windows PROPERTIES OBJECT_DEPENDS
  "${DRIFTLOW_MADE}/logo.jpg;${DRIFTLOW_MADE}/font.bmp;${DRIFTLOW_MADE}/scroller.text;${DRIFTLOW_MADE}/msx.xm")
