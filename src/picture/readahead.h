// TReadAhead: a picture file read on another core before it is asked for. The
// program starts reading picture 1 as its very first step, so that the file
// is in memory by the time the window wants it.
#pragma once

#include <future>
#include <memory>
#include <string>

#include "picture/picture.h"

namespace tintbox {

class TReadAhead {
 public:
  TReadAhead() = default;
  TReadAhead(const TReadAhead&) = delete;
  TReadAhead& operator=(const TReadAhead&) = delete;
  ~TReadAhead();  // waits for a read still running

  // Starts reading AFileName on another thread; a read started before and
  // not yet taken is dropped.
  void Start(const std::string& AFileName);

  // Loads AFileName into APicture with the outcome of APicture.LoadFromFile:
  // the same picture, or the same error with APicture unchanged. The read
  // started for this very name is used (once); any other name is read now.
  void Load(const std::string& AFileName, TPicture& APicture);

 private:
  std::string FFileName;
  std::future<std::unique_ptr<TPicture>> FResult;
};

}  // namespace tintbox
