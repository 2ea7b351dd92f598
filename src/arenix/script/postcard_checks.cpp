#include "arenix/script/postcard_checks.h"

#include "arenix/script/js_sources.h"
#include "arenix/script/one_line.h"

namespace arenix::script {

// Layout as on the server: 18 characters carry the birth date yyyymmdd in
// characters 7-14; 15 characters carry yymmdd of the 1900s in characters
// 7-12. A birth date is a real calendar date, not after today and at most
// 140 calendar years back. The check character is GB 11643's.
Text ScriptCheckPostCard() {
  return ScriptElement(js::kPostcardChecks);
}

}  // namespace arenix::script
