// Writing a generator's output file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace tintbox::tools {

// Writes ABytes to APath; on failure says so on stderr and returns false.
inline bool WriteFile(const std::string& APath, const std::vector<uint8_t>& ABytes) {
  std::ofstream out(APath, std::ios::binary);
  out.write(reinterpret_cast<const char*>(ABytes.data()), std::streamsize(ABytes.size()));
  out.close();
  if (out) return true;
  std::fprintf(stderr, "cannot write %s\n", APath.c_str());
  return false;
}

}  // namespace tintbox::tools
