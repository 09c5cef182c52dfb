#include "scene/mesh_generator.h"

#include <algorithm>
#include <bit>

#include "platform/gl.h"
#include "platform/platform.h"
#include "scene/mesh_operations.h"
#include "scene/mesh_shapes.h"

namespace {

TMeshState State;

constexpr std::uint8_t ClipBoxOff = 0xFE;
constexpr std::uint8_t ClipBoxOn = 0xFF;
// 0xFF, six floats, the closing 0xFF.
constexpr std::size_t ClipBoxCommandBytes = 26;

enum TMeshOperation : std::uint8_t {
  OpCube = 0,
  OpGrow = 1,
  OpShrink = 2,
  OpSmoothPositions = 3,
  OpDeform = 4,
  OpSmoothTexCoords = 5,
  OpSpindle = 6,
};

float ReadFloat(std::span<const std::uint8_t, 4> bytes) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                              static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24);
}

void SetClipBox(std::span<const std::uint8_t, ClipBoxCommandBytes> command) {
  const auto bound = [&](std::size_t k) { return ReadFloat(command.subspan(1 + 4 * k).first<4>()); };
  if (command[ClipBoxCommandBytes - 1] != ClipBoxOn) platform::ShowMessage("error", "hmm", platform::MB_OK);
  State.Clip = {1, bound(0), bound(1), bound(2), bound(3), bound(4), bound(5)};
}

void RunOperation(std::uint8_t op, std::uint8_t argument) {
  switch (op) {
    case OpCube: Cube(State, argument); break;
    case OpGrow: Grow(State); break;
    case OpShrink: Shrink(State); break;
    case OpSmoothPositions: SmoothPositions(State); break;
    case OpDeform: Deform(State, argument); break;
    case OpSmoothTexCoords: SmoothTexCoords(State); break;
    case OpSpindle: Spindle(State, argument); break;
    default: break;
  }
}

std::uint32_t CompileList(const TMeshState& mesh) {
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  glBegin(GL_QUADS);
  for (const MeshQuad& quad : mesh.Quads)
    for (const std::int32_t corner : quad.Corners) {
      const MeshVertex& v = mesh.Vertices[static_cast<std::size_t>(corner)];
      glTexCoord2f(v.S, v.T);
      glVertex3f(v.X, v.Y, v.Z);
    }
  glEnd();
  glEndList();
  return list;
}

}  // namespace

void RunMeshScript(std::span<const std::uint8_t> script) {
  State.Vertices.clear();
  State.Quads.clear();
  State.Clip.Enabled = 0;
  State.Lookup.Clear();
  State.LookupStale = false;
  while (!script.empty()) {
    const std::uint8_t op = script.front();
    if (op == ClipBoxOff) {
      State.Clip.Enabled = 0;
      script = script.subspan(1);
    } else if (op == ClipBoxOn) {
      if (script.size() < ClipBoxCommandBytes) break;
      SetClipBox(script.first<ClipBoxCommandBytes>());
      script = script.subspan(ClipBoxCommandBytes);
    } else {
      RunOperation(op, script.size() > 1 ? script[1] : 0);
      script = script.subspan(std::min<std::size_t>(2, script.size()));
    }
  }
}

const TMeshState& Mesh() { return State; }

std::uint32_t GenerateMesh(std::span<const std::uint8_t> script) {
  RunMeshScript(script);
  return CompileList(State);
}
