#include "picture/readahead.h"

namespace tintbox {

TReadAhead::~TReadAhead() {
  if (FResult.valid()) FResult.wait();
}

void TReadAhead::Start(const std::string& AFileName) {
  if (FResult.valid()) FResult.wait();
  FFileName = AFileName;
  FResult = std::async(std::launch::async, [name = AFileName] {
    auto picture = std::make_unique<TPicture>();
    picture->LoadFromFile(name);
    return picture;
  });
}

void TReadAhead::Load(const std::string& AFileName, TPicture& APicture) {
  if (!FResult.valid() || AFileName != FFileName) {
    APicture.LoadFromFile(AFileName);
    return;
  }
  // get() hands over the picture or throws the reader's error.
  const std::unique_ptr<TPicture> read = FResult.get();
  APicture.Assign(read.get());
}

}  // namespace tintbox
