# The Windows build, cross-built with mingw-w64 (cmake/mingw-w64-x86_64.cmake):
# driftlow.exe on the Win32 platform, and the test programs, which CTest runs
# under Wine. The folders describe themselves as on Linux; this finds the
# Windows build's libraries and writes the resource script.

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
set(DRIFTLOW_RC_DEPENDS ${DRIFTLOW_MADE}/logo.jpg ${DRIFTLOW_MADE}/font.bmp ${DRIFTLOW_MADE}/scroller.text
                        ${DRIFTLOW_MADE}/msx.xm)
