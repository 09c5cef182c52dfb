#pragma once
// The intro's two byte scripts, assembled by the build from texture_script.txt
// and mesh_script.txt beside this header.
#include <cstdint>
#include <span>

std::span<const std::uint8_t> IntroTextureScript();
std::span<const std::uint8_t> IntroMeshScript();
