// The program's exception classes. Every failure that reaches the player's
// error report is one of these; each carries its message text.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>

namespace tintbox {

class Exception : public std::exception {
 public:
  explicit Exception(std::string AMessage) : FMessage(std::move(AMessage)) {}
  const char* what() const noexcept override { return FMessage.c_str(); }
  const std::string& Message() const { return FMessage; }
  // The class name as the error report and the checker print it.
  virtual const char* ClassName() const { return "Exception"; }

 private:
  std::string FMessage;
};

#define TINTBOX_EXCEPTION(Name)                                      \
  class Name : public Exception {                                    \
   public:                                                           \
    using Exception::Exception;                                      \
    const char* ClassName() const override { return #Name; }         \
  };

TINTBOX_EXCEPTION(EInvalidGraphic)
TINTBOX_EXCEPTION(EReadError)
TINTBOX_EXCEPTION(EFOpenError)
TINTBOX_EXCEPTION(EInvalidOperation)
TINTBOX_EXCEPTION(EConvertError)
TINTBOX_EXCEPTION(EArgumentOutOfRangeException)
TINTBOX_EXCEPTION(EOutOfResources)
TINTBOX_EXCEPTION(EOSError)
TINTBOX_EXCEPTION(EAbort)

#undef TINTBOX_EXCEPTION

// Message texts used in more than one place.
inline constexpr const char* SInvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* SReadError = "Stream read error";
inline constexpr const char* SOutOfResources = "Out of system resources";

}  // namespace tintbox
