#include "platform/quietstderr.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace zantro {

QuietStandardError::QuietStandardError() {
  std::fflush(stderr);
  saved_ = ::dup(STDERR_FILENO);
  int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (saved_ >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
  if (null >= 0) ::close(null);
}

QuietStandardError::~QuietStandardError() {
  std::fflush(stderr);
  if (saved_ < 0) return;
  ::dup2(saved_, STDERR_FILENO);
  ::close(saved_);
}

}  // namespace zantro
