// arenix call METHOD [ARG ...]: one method, text arguments, a fresh
// in-memory host. An argument "@Name" passes the host variable Name
// (Request, Response, Server, Session, Conn, Rs) by reference.
#include <filesystem>
#include <iostream>

#include "arenix/frame/arenix_cls.h"
#include "automation/coerce.h"
#include "tools/arenix/command.h"
#include "tools/arenix/session_host.h"

namespace tools {
namespace {

struct CallOptions {
  std::string method;
  std::vector<std::string> args;
  std::string site;
  bool show_response = false;
};

void RunCall(const CallOptions& o) {
  using automation::Text;
  using automation::Variant;
  Text site = automation::FromUtf8(o.site.empty() ? std::filesystem::current_path().string() : o.site);
  Variables vars(site, Text());
  std::vector<Variant> literals;
  literals.reserve(o.args.size());
  std::vector<Variant*> slots;
  for (const auto& a : o.args) {
    if (a.size() > 1 && a[0] == '@') {
      slots.push_back(&vars.Get(automation::FromUtf8(a.substr(1))));
    } else {
      literals.emplace_back(automation::FromUtf8(a));
      slots.push_back(&literals.back());
    }
  }
  arenix::ArenixCls component;
  component.UseSite(vars.server().site());
  try {
    Variant result = arenix::CallMethod(component, automation::FromUtf8(o.method), slots);
    if (!result.IsEmpty()) {
      Text shown;
      try {
        shown = automation::CStr(result);
      } catch (const automation::Error&) {
        shown = result.TypeName();  // Null, arrays, objects without a text form
      }
      std::cout << automation::ToUtf8(shown) << "\n";
    }
  } catch (const automation::Error& e) {
    throw Exit{kExitFailed, "error " + std::to_string(e.number()) + ": " +
                                automation::ToUtf8(e.description())};
  }
  if (o.show_response && !vars.response().text().empty())
    std::cout << automation::ToUtf8(vars.response().text()) << "\n";
}

const Command kCall("call", [](CLI::App& app) {
  auto opts = std::make_shared<CallOptions>();
  auto* cmd = app.add_subcommand("call", "Call one method with text arguments on an in-memory host");
  cmd->add_option("method", opts->method, "Method name")->required();
  cmd->add_option("args", opts->args, "Arguments as text; @Request, @Response, @Server, @Session, "
                                      "@Conn, @Rs pass a host variable by reference");
  cmd->add_option("--site", opts->site, "Folder that the site root maps to (default: here)");
  cmd->add_flag("--response", opts->show_response, "Also print what the method wrote to the response");
  cmd->callback([opts] { RunCall(*opts); });
});

}  // namespace
}  // namespace tools
