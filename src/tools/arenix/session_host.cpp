#include "tools/arenix/session_host.h"

#include "automation/registry.h"

namespace tools {

using automation::Text;
using automation::Variant;

Variables::Variables(const Text& site, const Text& data)
    : request_(std::make_shared<host::MemoryRequest>()),
      response_(std::make_shared<host::MemoryResponse>()),
      server_(std::make_shared<host::MemoryServer>(site)),
      session_(std::make_shared<host::MemorySession>()) {
  if (!data.empty()) server_->Mount(u"/data", data);
  // Room for every variable a script can make, so references stay valid.
  vars_.reserve(4096);
  vars_.emplace_back(u"Request", Variant(automation::ObjectPtr(request_)));
  vars_.emplace_back(u"Response", Variant(automation::ObjectPtr(response_)));
  vars_.emplace_back(u"Server", Variant(automation::ObjectPtr(server_)));
  vars_.emplace_back(u"Session", Variant(automation::ObjectPtr(session_)));
  auto make = [](const char16_t* prog_id) -> Variant {
    if (!automation::IsClassRegistered(prog_id)) return Variant();
    return Variant(automation::CreateObject(prog_id));
  };
  vars_.emplace_back(u"Conn", make(u"Adodb.Connection"));
  vars_.emplace_back(u"Rs", make(u"Adodb.RecordSet"));
}

Variant& Variables::Get(const Text& name) {
  for (auto& [k, v] : vars_)
    if (automation::EqualsNoCase(k, name)) return v;
  if (vars_.size() == vars_.capacity())
    throw std::length_error("too many script variables");
  vars_.emplace_back(name, Variant());
  return vars_.back().second;
}

}  // namespace tools
