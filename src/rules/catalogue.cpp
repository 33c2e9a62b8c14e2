#include "rules/catalogue.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tintbox {

std::string ImagesPathFor(const std::string& AProgramFile) {
  const size_t slash = AProgramFile.rfind('/');
  std::string path = slash == std::string::npos ? std::string() : AProgramFile.substr(0, slash + 1);
  return path + "img";
}

std::string ImagesPathOf(const std::string& AFolder) {
  const size_t last = AFolder.find_last_not_of('/');
  if (last == std::string::npos) return AFolder.empty() ? AFolder : "/";
  return AFolder.substr(0, last + 1);
}

std::string PictureFileName(const std::string& AImagesPath, int n) {
  return AImagesPath + "/" + std::to_string(n) + ".bmp";
}

bool PictureFileExists(const std::string& AFileName) {
  // stat follows a symbolic link: a dangling one fails here.
  struct stat st {};
  if (stat(AFileName.c_str(), &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) return false;
  if (S_ISREG(st.st_mode)) return true;
  // Anything else (a device, a pipe) counts only when it opens; O_NONBLOCK
  // keeps a pipe without a writer from blocking the count.
  const int fd = open(AFileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  close(fd);
  return true;
}

int CountPictures(const std::string& AImagesPath) {
  if (AImagesPath.empty()) return 0;  // not the root's "/1.bmp"
  int n = 1;
  while (n <= MaxPictures && PictureFileExists(PictureFileName(AImagesPath, n))) ++n;
  return n - 1;
}

}  // namespace tintbox
