#include "arenix/frame/arenix_cls.h"

#include <mutex>

#include "arenix/upload/upload_file.h"
#include "automation/registry.h"
#include "data/classes.h"
#include "platform/classes.h"

namespace arenix {

ArenixCls::ArenixCls() : hash_(std::make_shared<hash::Orvel_Class_Md5>()) {
  // The procedures create platform objects by name ("Adodb.Connection"...).
  RegisterClasses();
  // Construction deploys no library: the zip and archive support that the
  // desktop host had to copy into its system folder and register is linked
  // into this library, so the list of files to ship is empty and the step
  // has nothing to do.
}

ArenixCls::~ArenixCls() = default;

Text ArenixCls::CommMd5(Text p_String) {
  Variant message(std::move(p_String));
  return hash_->OrvelMd5(message);
}

Text ArenixCls::CommServU(Text p_String) { return hash_->OrvelServU(std::move(p_String)); }

void RegisterClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    automation::RegisterClass(u"Arenix.ArenixCls", [] { return std::make_shared<ArenixCls>(); });
    automation::RegisterClass(u"Arenix.Orvel_Class_Md5",
                              [] { return std::make_shared<hash::Orvel_Class_Md5>(); });
    upload::RegisterUploadClasses();
    platform::RegisterClasses();
    data::RegisterClasses();
    // Each layer's stand-ins register here as they are built.
  });
}

}  // namespace arenix
