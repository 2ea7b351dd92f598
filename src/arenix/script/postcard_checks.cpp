#include "arenix/script/postcard_checks.h"

#include "arenix/script/js_sources.h"
#include "arenix/script/one_line.h"

namespace arenix::script {

Text ScriptCheckPostCard() {
  return ScriptElement(js::kPostcardChecks);
}

}  // namespace arenix::script
