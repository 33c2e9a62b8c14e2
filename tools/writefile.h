// Writing the tools' output files.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "picture/errors.h"

namespace tintbox::tools {

enum class TWriteMode {
  Replace,    // a temporary file beside it replaces it at the end, so a
              // failure never leaves half a file
  CreateNew,  // the file must not exist yet
};

// Writes ABytes to APath. Fails with EFOpenError, naming the file and the
// system's reason.
inline void WriteFile(const std::string& APath, const std::vector<uint8_t>& ABytes,
                      TWriteMode AMode) {
  const bool exclusive = AMode == TWriteMode::CreateNew;
  std::string temp = APath;
  int fd;
  if (exclusive) {
    fd = ::open(APath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  } else {
    temp += ".XXXXXX";
    fd = ::mkstemp(temp.data());
    if (fd >= 0) ::fchmod(fd, 0644);
  }
  if (fd < 0) throw EFOpenError("cannot create " + APath + ": " + std::strerror(errno));
  size_t done = 0;
  while (done < ABytes.size()) {
    const ssize_t n = ::write(fd, ABytes.data() + done, ABytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += size_t(n);
  }
  const int error = done < ABytes.size() ? errno : 0;
  if (::close(fd) != 0 || error != 0 ||
      (!exclusive && ::rename(temp.c_str(), APath.c_str()) != 0)) {
    const int saved = error ? error : errno;
    ::unlink(temp.c_str());
    throw EFOpenError("cannot write " + APath + ": " + std::strerror(saved));
  }
}

// For the generators: writes ABytes over APath; on failure says so on stderr
// and returns false.
inline bool WriteFile(const std::string& APath, const std::vector<uint8_t>& ABytes) {
  try {
    WriteFile(APath, ABytes, TWriteMode::Replace);
    return true;
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
    return false;
  }
}

}  // namespace tintbox::tools
