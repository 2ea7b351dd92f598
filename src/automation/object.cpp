#include "automation/object.h"

#include <algorithm>
#include <iterator>

#include "automation/member_table.h"
#include "automation/runtime.h"

namespace automation {

void ThrowNoSuchMember(TextView name) {
  throw Error(err::kNoSuchMember,
              StandardDescription(err::kNoSuchMember) + u": '" + Text(name) + u"'");
}

Variant Object::Invoke(TextView name, InvokeKind, std::span<Variant* const>) {
  ThrowNoSuchMember(name);
}

namespace {
// Names read as values on classes that declare no member table yet.
constexpr std::u16string_view kCommonProperties[] = {
    u"eof", u"bof", u"recordcount", u"pagecount", u"pagesize", u"absolutepage", u"state",
    u"totalbytes", u"count", u"contenttype", u"charset", u"codepage", u"buffer", u"status",
    u"global", u"ignorecase", u"pattern", u"multiline", u"value", u"length", u"firstindex",
    u"sessionid", u"timeout", u"number", u"description", u"source", u"name", u"size", u"type",
    u"path", u"totalsize", u"filename", u"filesize", u"filetype", u"filepath", u"filenameex",
    u"isclientconnected", u"version", u"savepath", u"cursortype", u"locktype"};
}  // namespace

bool Object::IsProperty(TextView name) const {
  if (const MemberTable* t = Members()) {
    const MemberDef* d = t->Find(name);
    return d && IsPropertyUse(*d);
  }
  const Text key = LCase(name);
  return std::find(std::begin(kCommonProperties), std::end(kCommonProperties), TextView(key)) != std::end(kCommonProperties);
}

}  // namespace automation
