#include "platform/file_read.h"

#include <algorithm>

#include "platform/win32/windows_api.h"

namespace platform {

TFileRead ReadWholeFile(const std::string& name, std::uint64_t maxBytes, std::vector<std::uint8_t>& bytes) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return TFileRead::NotOpened;
  LARGE_INTEGER size;
  TFileRead result = TFileRead::Unreadable;
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && static_cast<std::uint64_t>(size.QuadPart) <= maxBytes) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    DWORD read = 1;
    // ReadFile may return fewer bytes than asked; 0 means the file ended early.
    while (done < bytes.size() && read > 0) {
      const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
      if (!ReadFile(file, bytes.data() + done, wanted, &read, nullptr)) break;
      done += read;
    }
    if (done == bytes.size()) result = TFileRead::Ok;
  }
  CloseHandle(file);
  return result;
}

}  // namespace platform
