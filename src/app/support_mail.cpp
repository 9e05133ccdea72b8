#include "app/support_mail.h"

#include "util/product_info.h"
#include "util/text.h"

namespace brevane::app {

std::string SupportMailLink(const WindowsVersion& version) {
  // The subject's trailing "%s" is always filled with an empty text, so it ends in ". ".
  return util::Format("mailto:%s?subject=Question about Brevane %s on Windows %u.%2.2u (%u). %s",
                      util::kSupportMailbox, util::kProductVersion, version.major, version.minor,
                      version.build, "");
}

}  // namespace brevane::app
