#include "web/page_host.h"

#include "arenix/desk/list_pdf.h"
#include "arenix/page/encode.h"
#include "arenix/page/error_page.h"
#include "arenix/timing/timing_object.h"
#include "automation/cp936.h"
#include "automation/error.h"
#include "automation/text.h"
#include "data/foxsql/folder_watch.h"
#include "web/accounts_object.h"
#include "web/result_sheet_object.h"
#include "web/login_throttle.h"
#include "web/script_engine.h"

namespace web {

namespace {

std::string SessionCookie(const RawRequest& request) {
  std::string header = request.Header("Cookie");
  const std::string want = std::string(kSessionCookie) + "=";
  size_t at = 0;
  while ((at = header.find(want, at)) != std::string::npos) {
    if (at == 0 || header[at - 1] == ' ' || header[at - 1] == ';') {
      size_t start = at + want.size();
      size_t end = header.find(';', start);
      return header.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    at += want.size();
  }
  return {};
}

bool ResponseEnded(const host::Response& r) { return static_cast<const HttpResponse&>(r).ended(); }

}  // namespace

PageHost::PageHost(const ServerConfig& config, const SiteFiles& site, std::function<void(const std::string&)> log)
    : config_(config),
      site_(site),
      cache_(site),
      sessions_(config.limits.session_idle, config.node),
      changes_({site.site_dir(), site.data_dir()}, config.limits.watched_folders),
      replies_(site.data_dir(), config.limits.kept_replies),
      log_(std::move(log)) {
  RegisterAccountsClass();
  RegisterResultSheetClass();
  arenix::desk::RegisterListPdfClass();
  arenix::timing::RegisterTimingClass();
  arenix::timing::ConfigureTiming({config.timing_dir, config.limits.timing_file_bytes, config.limits.timing_files_listed});
  SharedLoginThrottle().Configure(config.limits);
  // The engine answers a repeated query without checking each table while
  // the notices say nothing in the meet's folder changed.
  if (!site.data_dir().empty())
    data_watch_ = data::foxsql::WatchFolder(site.data_dir(), [this] { return changes_.usable() ? changes_.Generation() : 0; });
}

PageHost::~PageHost() {
  if (data_watch_ != 0) data::foxsql::UnwatchFolder(data_watch_);
}

Reply PageHost::Failure(const std::string& message, int status) const {
  // The site's own error page, with the page, line and message as its text.
  automation::Text text = arenix::page::ErrorPageText(
      arenix::page::HtmlEscape(automation::FromUtf8(message)), false, u"");
  Reply r;
  r.status = status;
  r.headers.emplace_back("Content-Type", "text/html; charset=gbk");
  r.body = automation::ToGbk(text);
  return r;
}

namespace {

// A NUL byte, raw or as %00, in a query or an url-encoded form: no text a
// page reads holds one, and the database would take it as the end of a
// statement.
bool HasNulByte(std::string_view urlencoded) {
  if (urlencoded.find('\0') != std::string_view::npos) return true;
  for (size_t at = urlencoded.find('%'); at != std::string_view::npos; at = urlencoded.find('%', at + 1))
    if (urlencoded.substr(at + 1, 2) == "00") return true;
  return false;
}

bool UrlEncodedBody(const RawRequest& request) {
  const std::string type = request.Header("Content-Type");
  return type.empty() || type.starts_with("application/x-www-form-urlencoded");
}

// What a visitor is told of a page's failure: the page, the line and the
// message, without the text of a statement the database refused (that goes
// to the server's log only).
std::string PublicMessage(std::string message) {
  const size_t at = message.find(" in statement: ");
  if (at != std::string::npos) message.erase(at, message.find('\n', at) - at);
  return message;
}

}  // namespace

Reply PageHost::Run(RawRequest request, const SiteFile& file) {
  if (HasNulByte(request.query) || (request.method == "POST" && UrlEncodedBody(request) && HasNulByte(request.body)))
    return Failure("请求中含有空字符（%00），无法处理。请检查输入的内容。", 400);
  // A form's fields cost a few words each when read: a body of thousands of
  // tiny fields is refused before it is parsed.
  if (request.method == "POST" && UrlEncodedBody(request) &&
      host::CountUrlPairs(request.body) > config_.limits.max_form_fields)
    return Failure("提交的表单字段太多（超过 " + std::to_string(config_.limits.max_form_fields) +
                       " 个），无法处理。请分批提交。",
                   413);
  // The change notices say in one system call whether any file of the site
  // or the meet changed; where they cannot see every change, the files do.
  const uint64_t generation = changes_.usable() ? changes_.Generation() : 0;
  std::shared_ptr<const CompiledPage> page;
  try {
    page = cache_.Get(file.path, file.site_path, generation);
  } catch (const automation::Error& e) {
    std::string msg = file.site_path + ": " + e.what();
    log_("page error: " + msg);
    return Failure(msg, 500);
  }

  // A GET without a session may be answered with a public reply kept from
  // before, as long as neither the page nor the meet's data has changed.
  const std::string session_id = SessionCookie(request);
  const bool shareable = request.method == "GET" && session_id.empty();
  // The host is part of the key: a page may build its links from it.
  const std::string key = file.path + "?" + request.query + "#" + request.Header("Host");
  std::string signature;
  bool lead = false;
  if (shareable) {
    signature = generation != 0 ? "changes " + std::to_string(generation) : replies_.DataSignature();
    if (auto kept = replies_.Find(key, page.get(), signature, lead, config_.limits.script_time)) {
      kept->for_everyone = true;
      return std::move(*kept);
    }
  }
  // The requests waiting for this run are let go however it ends.
  struct Finish {
    ReplyCache& replies;
    const std::string& key;
    bool lead;
    void operator()(const Reply* made) {
      if (lead) replies.Finish(key, made);
      lead = false;
    }
    ~Finish() { (*this)(nullptr); }
  } finish{replies_, key, lead};

  bool created = false;
  auto session = sessions_.Open(session_id, created);
  auto cp = std::make_shared<CodePage>();
  auto response = std::make_shared<HttpResponse>(cp);
  if (page->code_page == 65001) response->SetCodePage(65001);
  // The request, its body included, moves into the page's Request object.
  auto req = std::make_shared<HttpRequest>(std::move(request), cp, file.site_path);
  if (shareable) req->MakePublic();
  auto server = std::make_shared<HttpServerObject>(automation::FromUtf8(site_.site_dir()),
                                                   automation::FromUtf8(site_.data_dir()), site_.server_site(),
                                                   file.site_path, cp);
  PageObjects objects;
  objects.request = Variant(automation::ObjectPtr(req));
  objects.response = Variant(automation::ObjectPtr(response));
  objects.server = Variant(automation::ObjectPtr(server));
  objects.session = Variant(automation::ObjectPtr(session));
  objects.response_object = response.get();
  objects.ended = ResponseEnded;

  ScriptResult result = RunScript(*page, objects,
                                  {config_.limits.script_time, config_.limits.script_memory_bytes,
                                   config_.limits.script_heap_kept_bytes,
                                   config_.limits.script_heap_max_bytes, config_.limits.script_programs_kept});
  const bool send_cookie = sessions_.Close(session, created);

  Reply reply;
  if (result.kind == ScriptResult::Kind::Done) {
    reply = response->ToReply();
    if (shareable && !send_cookie && !req->ReadClientState() && reply.status == 200 &&
        response->cache_control().starts_with(u"public")) {
      replies_.Store(key, page.get(), signature, reply);
      reply.for_everyone = true;
    }
  } else {
    std::string where = result.file.empty() ? file.site_path : result.file;
    if (result.line > 0) where += " line " + std::to_string(result.line);
    std::string msg = where + ": " + result.message;
    log_("page error: " + msg);
    reply = Failure(PublicMessage(msg), result.kind == ScriptResult::Kind::TimedOut ? 503 : 500);
  }
  finish(reply.for_everyone ? &reply : nullptr);
  if (send_cookie)
    reply.headers.emplace_back("Set-Cookie", std::string(kSessionCookie) + "=" + session->id() +
                                                 "; path=/; HttpOnly; SameSite=Lax");
  return reply;
}

}  // namespace web
