#include "picture/picture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "picture/bmpreader.h"
#include "picture/errors.h"

namespace tintbox {

namespace {

// No picture file the program can hold is larger than the biggest pixel store
// plus its headers and colour table; a bigger file is refused before any
// buffer for it is made.
constexpr uint64_t MaxPictureFileBytes = MaxPixelStoreBytes + 64 * 1024;

// The text after the last "." of the file's name (not of a folder above it),
// as written; empty when the name has no ".".
std::string ExtensionOf(const std::string& AFileName) {
  const size_t slash = AFileName.find_last_of('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = AFileName.find_last_of('.');
  if (dot == std::string::npos || dot < nameStart) return {};
  return AFileName.substr(dot + 1);
}

bool SameTextAscii(const std::string& A, const char* B) {
  const size_t n = std::strlen(B);
  if (A.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    char a = A[i], b = B[i];
    if (a >= 'A' && a <= 'Z') a = char(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = char(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

std::string FullPath(const std::string& AFileName) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(AFileName, ec);
  if (ec) return AFileName;
  return full.lexically_normal().string();
}

[[noreturn]] void CannotOpen(const std::string& AFullPath, int AError) {
  throw EFOpenError("Cannot open file \"" + AFullPath + "\". " + std::strerror(AError));
}

// Closes the descriptor however the read ends.
struct TFileHandle {
  int Fd = -1;
  ~TFileHandle() {
    if (Fd >= 0) ::close(Fd);
  }
};

// Reads the whole of a regular file. Non-blocking, so that a FIFO or a device
// named by mistake cannot stall the program; anything but a regular file is
// refused (a folder with "Is a directory", anything else with "Invalid argument").
std::vector<uint8_t> ReadWholeFile(const std::string& AFileName) {
  TFileHandle file;
  file.Fd = ::open(AFileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (file.Fd < 0) CannotOpen(FullPath(AFileName), errno);
  struct stat info {};
  if (::fstat(file.Fd, &info) != 0) CannotOpen(FullPath(AFileName), errno);
  if (S_ISDIR(info.st_mode)) CannotOpen(FullPath(AFileName), EISDIR);
  if (!S_ISREG(info.st_mode)) CannotOpen(FullPath(AFileName), EINVAL);
  if (info.st_size < 0 || uint64_t(info.st_size) > MaxPictureFileBytes)
    throw EOutOfResources(SOutOfResources);

  // The size found now is the most that is read: a file that grows meanwhile
  // is read up to it, one that shrinks up to its new end.
  std::vector<uint8_t> data(size_t(info.st_size));
  size_t got = 0;
  while (got < data.size()) {
    const ssize_t n = ::read(file.Fd, data.data() + got, data.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EReadError(SReadError);
    }
    if (n == 0) break;
    got += size_t(n);
  }
  data.resize(got);
  return data;
}

}  // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::LoadFromFile(const std::string& AFileName) {
  const std::string ext = ExtensionOf(AFileName);
  if (!SameTextAscii(ext, "bmp"))
    throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");

  auto bitmap = std::make_unique<TBitmap>();
  const std::vector<uint8_t> data = ReadWholeFile(AFileName);
  ReadBitmap(data.data(), data.size(), *bitmap);
  // Only a complete read replaces what the picture held.
  SetGraphic(std::move(bitmap), TGraphicKind::Bitmap);
}

void TPicture::Assign(const TPicture* ASource) {
  if (!ASource || ASource->Empty()) {
    SetGraphic(nullptr);
    return;
  }
  // The copy is made before the old graphic goes, so assigning a picture to
  // itself keeps its pixels.
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->Assign(*ASource->FBitmap);
  SetGraphic(std::move(bitmap), ASource->FKind);
}

void TPicture::SetGraphic(std::unique_ptr<TBitmap> ABitmap, TGraphicKind AKind) {
  FBitmap = std::move(ABitmap);
  FKind = !FBitmap                      ? TGraphicKind::None
          : AKind == TGraphicKind::None ? TGraphicKind::Bitmap
                                        : AKind;
  // Drawing on the bitmap (a fill, say) tells this picture's control too.
  if (FBitmap) FBitmap->OnChange = [this] { Changed(FBitmap->ChangedPart()); };
  Changed(std::nullopt);
}

void TPicture::Changed(const std::optional<TRect>& APart) {
  FChangedPart = APart;
  if (OnChange) OnChange();
}

}  // namespace tintbox
