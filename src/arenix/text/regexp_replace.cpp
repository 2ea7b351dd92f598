#include "arenix/text/regexp_replace.h"

#include "platform/regexp.h"

namespace arenix::text {

Text ReplaceExp(TextView s, TextView pattern, TextView replacement) {
  platform::RegExp re(pattern);
  re.SetIgnoreCase(true);
  re.SetGlobal(true);
  return re.Replace(s, replacement);
}

}  // namespace arenix::text
