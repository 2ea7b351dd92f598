#include "tools/arenix/script_runner.h"

#include <filesystem>

#include "arenix/frame/arenix_cls.h"
#include "automation/clock.h"
#include "automation/registry.h"
#include "data/data.h"
#include "tools/arenix/base64.h"
#include "tools/arenix/json_variant.h"
#include "tools/arenix/session_host.h"

namespace tools {

using automation::Text;
using automation::Variant;
using nlohmann::ordered_json;

namespace {

Text U(const std::string& s) { return automation::FromUtf8(s); }
std::string U8(const Text& s) { return automation::ToUtf8(s); }

std::string Need(const ordered_json& j, const char* key, const char* what) {
  if (!j.contains(key)) return {};
  if (!j[key].is_string()) throw ScriptError(std::string("\"") + key + "\" must be " + what);
  return j[key].get<std::string>();
}

// Name/value pairs given as an object or as a list of [name, value] pairs.
std::vector<std::pair<Text, Text>> PairsOf(const ordered_json& j, const char* key) {
  std::vector<std::pair<Text, Text>> out;
  if (!j.contains(key)) return out;
  const auto& v = j[key];
  auto text_of = [&](const ordered_json& x) {
    if (x.is_string()) return U(x.get<std::string>());
    if (x.is_number() || x.is_boolean()) return U(x.dump());
    throw ScriptError(std::string("values of \"") + key + "\" must be texts");
  };
  if (v.is_object()) {
    for (auto it = v.begin(); it != v.end(); ++it) out.emplace_back(U(it.key()), text_of(it.value()));
  } else if (v.is_array()) {
    for (const auto& pair : v) {
      if (!pair.is_array() || pair.size() != 2 || !pair[0].is_string())
        throw ScriptError(std::string("\"") + key + "\" pairs must be [name, value]");
      out.emplace_back(U(pair[0].get<std::string>()), text_of(pair[1]));
    }
  } else {
    throw ScriptError(std::string("\"") + key + "\" must be an object or a list of pairs");
  }
  return out;
}

void FillRequest(const ordered_json& req, Variables& vars) {
  if (!req.is_object()) throw ScriptError("\"request\" must be an object");
  host::MemoryRequest& r = vars.request();
  std::string method = Need(req, "method", "a text");
  r.SetServerVariable(u"REQUEST_METHOD", U(method.empty() ? "GET" : method));
  std::string query = Need(req, "query", "a text");
  r.SetQueryString(U(query));
  r.SetServerVariable(u"QUERY_STRING", U(query));
  for (auto& [k, v] : PairsOf(req, "form")) r.AddForm(k, v);
  for (auto& [k, v] : PairsOf(req, "cookies")) r.AddCookie(k, v);
  for (auto& [k, v] : PairsOf(req, "server")) r.SetServerVariable(k, v);
  std::string content_type = Need(req, "content_type", "a text");
  if (!content_type.empty()) {
    r.SetServerVariable(u"CONTENT_TYPE", U(content_type));
    r.SetServerVariable(u"HTTP_CONTENT_TYPE", U(content_type));
  }
  std::string body = Need(req, "body_base64", "base64 text");
  if (!body.empty()) {
    auto bytes = Base64Decode(body);
    if (!bytes) throw ScriptError("\"body_base64\" is not base64");
    r.SetBody(automation::Bytes(bytes->begin(), bytes->end()));
    r.SetServerVariable(u"CONTENT_LENGTH", automation::FromAscii(std::to_string(bytes->size())));
  }
}

ordered_json ErrorJson(const automation::Error& e) {
  ordered_json j;
  j["number"] = e.number();
  j["description"] = U8(e.description());
  return j;
}

ordered_json RowsOf(data::Recordset& rs) {
  ordered_json rows = ordered_json::array();
  int n = rs.FieldCount();
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) names.push_back(U8(rs.FieldName(i)));
  if (rs.RecordCount() > 0 || !rs.Eof()) rs.MoveFirst();
  while (!rs.Eof()) {
    ordered_json row = ordered_json::object();
    for (int i = 0; i < n; ++i) row[names[i]] = VariantToJson(rs.FieldAt(i));
    rows.push_back(std::move(row));
    rs.MoveNext();
  }
  return rows;
}

class Runner {
 public:
  Runner(const ordered_json& script, Variables& vars) : script_(script), vars_(vars) {
    component_.UseSite(vars.server().site());
  }

  ordered_json Step(const ordered_json& step) {
    if (!step.is_object()) throw ScriptError("each step must be an object");
    ordered_json out;
    out["result"] = VariantToJson(Variant());
    out["refs"] = ordered_json::object();
    out["error"] = nullptr;
    try {
      if (step.contains("call")) {
        Call(step, out);
      } else if (step.contains("open")) {
        Open(step, out);
      } else if (step.contains("sql")) {
        Sql(step, out);
      } else if (step.contains("move_next")) {
        MoveNext(step);
      } else {
        throw ScriptError("a step needs \"call\", \"sql\", \"open\" or \"move_next\": " + step.dump());
      }
    } catch (const automation::Error& e) {
      out["error"] = ErrorJson(e);
    }
    return out;
  }

 private:
  void Call(const ordered_json& step, ordered_json& out) {
    if (!step["call"].is_string()) throw ScriptError("\"call\" must be a method name");
    Text name = U(step["call"].get<std::string>());
    const auto& args = step.contains("args") ? step["args"] : ordered_json::array();
    if (!args.is_array()) throw ScriptError("\"args\" must be a list");
    std::vector<Variant> literals;
    literals.reserve(args.size());
    std::vector<Variant*> slots;
    std::vector<Text> refs;
    for (const auto& a : args) {
      if (a.is_object() && a.contains("ref")) {
        if (!a["ref"].is_string()) throw ScriptError("\"ref\" must name a variable");
        Text var = U(a["ref"].get<std::string>());
        slots.push_back(&vars_.Get(var));
        refs.push_back(var);
      } else {
        try {
          literals.push_back(JsonToVariant(a));
        } catch (const std::invalid_argument& e) {
          throw ScriptError(e.what());
        }
        slots.push_back(&literals.back());
      }
    }
    try {
      out["result"] = VariantToJson(arenix::CallMethod(component_, name, slots));
    } catch (const automation::Error& e) {
      out["error"] = ErrorJson(e);
    }
    for (const auto& var : refs) out["refs"][U8(var)] = VariantToJson(vars_.Get(var));
  }

  data::Connection& Conn() { return automation::ObjectCast<data::Connection>(vars_.Get(u"Conn")); }

  void Sql(const ordered_json& step, ordered_json& out) {
    if (!step["sql"].is_string()) throw ScriptError("\"sql\" must be a statement");
    int32_t affected = 0;
    Variant result = Conn().Execute(U(step["sql"].get<std::string>()), &affected);
    if (auto* rs = automation::ObjectTryCast<data::Recordset>(result))
      out["rows"] = RowsOf(*rs);
    else
      out["affected"] = affected;
  }

  void Open(const ordered_json& step, ordered_json& out) {
    if (!step["open"].is_string()) throw ScriptError("\"open\" must name a variable");
    if (!step.contains("sql") || !step["sql"].is_string()) throw ScriptError("\"open\" needs \"sql\"");
    Variant& var = vars_.Get(U(step["open"].get<std::string>()));
    if (!automation::ObjectTryCast<data::Recordset>(var))
      var = Variant(automation::CreateObject(u"Adodb.RecordSet"));
    auto& rs = automation::ObjectCast<data::Recordset>(var);
    rs.Open(U(step["sql"].get<std::string>()), vars_.Get(u"Conn"), data::kOpenKeyset,
            data::kLockReadOnly);
    out["result"] = VariantToJson(Variant(rs.RecordCount()));
  }

  void MoveNext(const ordered_json& step) {
    if (!step["move_next"].is_string()) throw ScriptError("\"move_next\" must name a variable");
    automation::ObjectCast<data::Recordset>(vars_.Get(U(step["move_next"].get<std::string>())))
        .MoveNext();
  }

  const ordered_json& script_;
  Variables& vars_;
  arenix::ArenixCls component_;
};

ordered_json ResponseJson(const host::MemoryResponse& r) {
  ordered_json j;
  j["text"] = U8(r.text());
  j["ended"] = r.ended();
  j["status"] = U8(r.status());
  ordered_json headers = ordered_json::array();
  for (const auto& [k, v] : r.headers()) headers.push_back({U8(k), U8(v)});
  j["headers"] = headers;
  j["content_type"] = U8(r.content_type());
  j["charset"] = U8(r.charset());
  j["redirect"] = U8(r.redirect());
  // The cache headers: null until the page sets Expires or ExpiresAbsolute.
  if (r.expires() || r.expires_absolute()) {
    ordered_json expires;
    expires["minutes"] = r.expires() ? ordered_json(*r.expires()) : ordered_json(nullptr);
    expires["absolute"] =
        r.expires_absolute() ? ordered_json(IsoDate(*r.expires_absolute())) : ordered_json(nullptr);
    j["expires"] = expires;
  } else {
    j["expires"] = nullptr;
  }
  j["cache_control"] = U8(r.cache_control());
  const auto& body = r.body();
  j["body_base64"] = Base64Encode(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()));
  return j;
}

}  // namespace

ordered_json RunScript(const ordered_json& script, const std::string& default_site) {
  if (!script.is_object()) throw ScriptError("a script is a JSON object");
  std::string site = Need(script, "site", "a folder");
  if (site.empty()) site = default_site;
  site = std::filesystem::absolute(site).lexically_normal().string();
  std::string data = Need(script, "data", "a folder");
  if (!data.empty()) data = std::filesystem::absolute(data).lexically_normal().string();

  std::optional<uint32_t> seed;
  if (script.contains("seed")) {
    if (!script["seed"].is_number_integer()) throw ScriptError("\"seed\" must be a whole number");
    seed = static_cast<uint32_t>(script["seed"].get<int64_t>());
  }
  std::optional<automation::Date> now;
  if (script.contains("now")) {
    std::string text = Need(script, "now", "a date text");
    now = ParseIsoDate(text);
    if (!now) throw ScriptError("\"now\" must be YYYY-MM-DDTHH:MM:SS: " + text);
  }
  automation::ScopedClock clock(now, seed);

  Variables vars(U(site), U(data));
  if (script.contains("request")) FillRequest(script["request"], vars);
  if (script.contains("session")) {
    if (!script["session"].is_object()) throw ScriptError("\"session\" must be an object");
    for (auto it = script["session"].begin(); it != script["session"].end(); ++it) {
      try {
        vars.session().Set(U(it.key()), JsonToVariant(it.value()));
      } catch (const std::invalid_argument& e) {
        throw ScriptError(e.what());
      } catch (const automation::Error& e) {
        // A value that cannot be made ({"currency": "abc"}) is the script's fault.
        throw ScriptError("session value \"" + it.key() + "\": " + U8(e.description()));
      }
    }
  }
  const auto& steps = script.contains("steps") ? script["steps"] : ordered_json::array();
  if (!steps.is_array()) throw ScriptError("\"steps\" must be a list");

  Runner runner(script, vars);
  ordered_json report;
  report["steps"] = ordered_json::array();
  for (const auto& step : steps) report["steps"].push_back(runner.Step(step));
  report["response"] = ResponseJson(vars.response());
  ordered_json variables = ordered_json::object();
  for (const auto& [name, value] : vars.all()) variables[U8(name)] = VariantToJson(value);
  report["variables"] = variables;
  return report;
}

}  // namespace tools
