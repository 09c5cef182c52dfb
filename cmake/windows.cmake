# The Windows build, cross-built with mingw-w64 (cmake/mingw-w64-x86_64.cmake):
# driftlow.exe on the Win32 platform, and the test programs, which CTest runs
# under Wine. The portable folders are the same sources as on Linux.

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

file(GLOB win32_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win32/*.cpp)
add_library(driftlow_platform STATIC ${win32_sources}
            platform/platform.cpp platform/resources.cpp platform/fake_platform.cpp
            platform/wave_out.cpp platform/wav_file_wave_out.cpp platform/wav_format.cpp platform/offscreen_context.cpp)
target_include_directories(driftlow_platform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(driftlow_platform PUBLIC OpenGL::GL gdi32 winmm Threads::Threads)

add_library(driftlow_resources STATIC ${DRIFTLOW_MADE}/intro_scripts.cpp)
target_link_libraries(driftlow_resources PUBLIC driftlow_platform)

# The engine (tarnxm_library) and the player on the Win32 device
# (driftlow_player).
add_subdirectory(player)
add_subdirectory(textures)
add_subdirectory(scene)
driftlow_library(driftlow_shell shell driftlow_scene driftlow_textures driftlow_player driftlow_resources
                 driftlow_platform OpenGL::GL OpenGL::GLU)
target_link_libraries(driftlow_scene PUBLIC driftlow_shell)

# The resources go into every program that looks them up by name.
configure_file(resources/driftlow.rc.in ${CMAKE_BINARY_DIR}/driftlow.rc @ONLY)
set(DRIFTLOW_RC ${CMAKE_BINARY_DIR}/driftlow.rc)
set_source_files_properties(${DRIFTLOW_RC} PROPERTIES OBJECT_DEPENDS
  "${DRIFTLOW_MADE}/logo.jpg;${DRIFTLOW_MADE}/font.bmp;${DRIFTLOW_MADE}/scroller.text;${DRIFTLOW_MADE}/msx.xm")

add_executable(driftlow WIN32 shell/win32/main.cpp ${DRIFTLOW_RC})
target_link_libraries(driftlow PRIVATE driftlow_shell)

# The module writer, portable, builds the songs of the engine's tests.
driftlow_library(driftlow_xm_writer tools/xm_writer)

enable_testing()
add_subdirectory(tests/windows)
