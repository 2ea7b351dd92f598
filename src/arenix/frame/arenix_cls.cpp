#include "arenix/frame/arenix_cls.h"

#include <mutex>

#include "arenix/frame/deploy.h"
#include "arenix/upload/upload_file.h"
#include "automation/registry.h"
#include "data/classes.h"
#include "platform/classes.h"

namespace arenix {

ArenixCls::ArenixCls() : hash_(std::make_shared<hash::Orvel_Class_Md5>()) {
  // The procedures create platform objects by name ("Adodb.Connection"...).
  RegisterClasses();
  frame::DeployLibraries(frame::kDeploymentList, frame::SystemDeployHost());
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
