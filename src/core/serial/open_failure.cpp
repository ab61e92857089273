#include "serial/open_failure.h"

#include "common/captions.h"
#include "common/text.h"

namespace vqx {

std::string portLabel(int port, const std::string& device) {
  return withArgs(caption::kPortLabel, {std::to_string(port), device});
}

std::string openFailureText(OpenFailure failure, const std::string& label,
                            const std::string& detail) {
  const char* pattern = caption::kOpenOther;
  switch (failure) {
    case OpenFailure::Missing:
      pattern = caption::kOpenMissing;
      break;
    case OpenFailure::NoPermission:
      pattern = caption::kOpenNoPermission;
      break;
    case OpenFailure::InUse:
      pattern = caption::kOpenInUse;
      break;
    case OpenFailure::LockFile:
      pattern = caption::kOpenLockFile;
      break;
    case OpenFailure::Refused:
      pattern = caption::kOpenRefused;
      break;
    case OpenFailure::None:
    case OpenFailure::Other:
      break;
  }
  return withArgs(pattern, {label, detail});
}

}  // namespace vqx
