#include "web/page_compiler.h"

#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "automation/cp936.h"
#include "automation/error.h"
#include "automation/text.h"
#include "web/config.h"
#include "web/keyed_assignment.h"
#include "web/script_engine.h"

namespace web {

namespace {

int64_t ModTime(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return -1;
  return int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
}

bool ValidUtf8(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

// Site pages are written in UTF-8; pages kept from a GBK site still read right.
std::string ReadSource(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw automation::Error(automation::err::kFileNotFound, u"File not found: " + automation::FromUtf8(path));
  std::ostringstream ss;
  ss << in.rdbuf();
  std::string s = ss.str();
  if (s.starts_with("\xEF\xBB\xBF")) s.erase(0, 3);
  if (!ValidUtf8(s)) s = automation::ToUtf8(automation::FromGbk(s));
  return s;
}

int CountLines(std::string_view s) {
  int n = 0;
  for (char c : s) n += c == '\n';
  return n;
}

void AppendStringLiteral(std::string& out, std::string_view text) {
  out += '"';
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        // U+2028 and U+2029 end a line inside a script literal.
        if (c == '\xE2' && i + 2 < text.size() && text[i + 1] == '\x80' &&
            (text[i + 2] == '\xA8' || text[i + 2] == '\xA9')) {
          out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
          i += 2;
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

class Compiler {
 public:
  Compiler(const SiteFiles& site, CompiledPage& page) : site_(site), page_(page) {}

  void File(const std::string& native, const std::string& site_path, int depth) {
    if (depth > kMaxIncludeDepth)
      throw automation::Error(automation::err::kInvalidCall,
                              u"Include nested too deeply: " + automation::FromUtf8(site_path));
    for (const auto& open : stack_)
      if (open == native)
        throw automation::Error(automation::err::kInvalidCall,
                                u"Include cycle: " + automation::FromUtf8(site_path));
    stack_.push_back(native);
    page_.files.emplace_back(native, ModTime(native));
    const std::string src = ReadSource(native);
    Span(site_path, 1);
    int file_line = 1;
    size_t i = 0;
    while (i < src.size()) {
      size_t code = src.find("<%", i);
      size_t inc = src.find("<!--#include", i);
      size_t next = std::min(code, inc);
      Text(src.substr(i, next == std::string::npos ? std::string::npos : next - i));
      if (next == std::string::npos) break;
      file_line += CountLines(src.substr(i, next - i));
      if (next == inc) {
        size_t end = src.find("-->", inc);
        if (end == std::string::npos) {
          Text(src.substr(inc));
          break;
        }
        std::string directive = src.substr(inc, end + 3 - inc);
        Include(directive, site_path, depth);
        file_line += CountLines(directive);
        // The included file's lines are behind us; carry on in this file.
        Span(site_path, file_line);
        i = end + 3;
        continue;
      }
      size_t close = src.find("%>", code + 2);
      if (close == std::string::npos)
        throw automation::Error(automation::err::kInvalidCall,
                                u"Unterminated <% in " + automation::FromUtf8(site_path) + u" line " +
                                    automation::FromUtf8(std::to_string(file_line)));
      std::string_view body(src.data() + code + 2, close - code - 2);
      const int n = CountLines(body);
      if (!body.empty() && body[0] == '@') {
        Directive(body);
        Blank(body);
      } else if (!body.empty() && body[0] == '=') {
        page_.program += kWriteFunction;
        page_.program += "((";
        page_.program += body.substr(1);
        page_.program += "));";
        line_ += n;
      } else {
        // A "//" comment at the end of a block ends with the block.
        page_.program += body;
        page_.program += "\n;";
        line_ += n + 1;
      }
      file_line += n;
      Span(site_path, file_line);
      i = close + 2;
    }
    stack_.pop_back();
  }

 private:
  void Span(const std::string& file, int file_line) {
    if (!page_.lines.empty() && page_.lines.back().first_line == line_) page_.lines.pop_back();
    page_.lines.push_back({line_, file, file_line});
  }

  void Text(std::string_view text) {
    if (text.empty()) return;
    page_.program += kWriteFunction;
    page_.program += '(';
    AppendStringLiteral(page_.program, text);
    page_.program += ");";
    Blank(text);
  }

  // Keeps the program's lines in step with the file's.
  void Blank(std::string_view text) {
    int n = CountLines(text);
    page_.program.append(static_cast<size_t>(n), '\n');
    line_ += n;
  }

  void Directive(std::string_view body) {
    std::string lower(body);
    for (auto& c : lower)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    size_t at = lower.find("codepage");
    if (at == std::string::npos) return;
    size_t eq = lower.find('=', at);
    if (eq == std::string::npos) return;
    size_t d = lower.find_first_of("0123456789", eq);
    if (d == std::string::npos) return;
    int cp = std::atoi(lower.c_str() + d);
    if (cp == 65001 || cp == 936) page_.code_page = cp;
  }

  void Include(const std::string& directive, const std::string& from, int depth) {
    auto attr = [&](const char* name) -> std::string {
      std::string lower = directive;
      for (auto& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
      size_t at = lower.find(name);
      if (at == std::string::npos) return {};
      size_t q = directive.find('"', at);
      if (q == std::string::npos) return {};
      size_t e = directive.find('"', q + 1);
      if (e == std::string::npos) return {};
      return directive.substr(q + 1, e - q - 1);
    };
    std::string virt = attr("virtual");
    std::string file = virt.empty() ? attr("file") : std::string();
    std::string target = virt.empty() ? file : (virt[0] == '/' ? virt : "/" + virt);
    std::string native = site_.Locate(target, from);
    if (target.empty() || native.empty())
      throw automation::Error(automation::err::kFileNotFound,
                              u"Include file not found: " + automation::FromUtf8(target) + u" (in " +
                                  automation::FromUtf8(from) + u")");
    // The site path of the included file, for messages.
    std::string inc_site = native.substr(site_.site_dir().size());
    File(native, inc_site.empty() ? target : inc_site, depth + 1);
  }

  const SiteFiles& site_;
  CompiledPage& page_;
  std::vector<std::string> stack_;
  int line_ = 1;
};

}  // namespace

std::pair<std::string, int> CompiledPage::Locate(int program_line) const {
  const LineSpan* best = nullptr;
  for (const auto& span : lines)
    if (span.first_line <= program_line) best = &span;
  if (!best) return {"", program_line};
  return {best->file, best->file_line + (program_line - best->first_line)};
}

CompiledPage CompilePage(const SiteFiles& site, const std::string& native_path, const std::string& site_path) {
  CompiledPage page;
  Compiler(site, page).File(native_path, site_path, 0);
  page.program = RewriteKeyedAssignments(page.program);
  return page;
}

std::shared_ptr<const CompiledPage> PageCache::Get(const std::string& native_path, const std::string& site_path,
                                                   uint64_t generation) {
  {
    std::lock_guard lock(mu_);
    auto it = pages_.find(native_path);
    if (it != pages_.end()) {
      Kept& kept = it->second;
      if (generation != 0 && kept.checked_at == generation) return kept.page;
      bool fresh = true;
      for (const auto& [file, mtime] : kept.page->files) fresh = fresh && ModTime(file) == mtime;
      if (fresh) {
        kept.checked_at = generation;
        return kept.page;
      }
    }
  }
  // Compiled outside the lock; two workers may both compile a changed page.
  auto compiled = std::make_shared<CompiledPage>(CompilePage(site_, native_path, site_path));
  compiled->bytecode = ScriptBytecode(compiled->program);
  static std::atomic<uint64_t> last_id{0};
  compiled->id = ++last_id;
  std::shared_ptr<const CompiledPage> page = compiled;
  std::lock_guard lock(mu_);
  pages_[native_path] = Kept{page, generation};
  return page;
}

}  // namespace web
