#include "web/script_engine.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "automation/ascii_run.h"
#include "automation/coerce.h"
#include "automation/deadline.h"
#include "automation/error.h"
#include "web/config.h"
#include "web/duktape_config.h"
#include "web/script_text.h"

namespace web {

using automation::Variant;

namespace {

// A member reads as a value when its object's member table says it is a
// property read without arguments (`rs.EOF`, `d.Count`); the wrapper asks the
// object once per member name. Everything else is handed to the script as a
// callable that also reads as the member's value, so that `rs.MoveNext()`,
// `Request.QueryString("a")` and `"" + Request.QueryString` all work.
constexpr const char* kPrelude = R"JS(
var Ref = function (v) {
  if (!(this instanceof Ref)) return new Ref(v);
  this.value = v;
};
Ref.prototype.__isRef = true;
Ref.prototype.toString = function () { return String(this.value); };
Ref.prototype.valueOf = function () { return this.value; };
// One handler for every wrapped object (PushWrapper makes them); the target
// carries the handle and the members already handed out (a member is the
// same callable each time).
// Reading a member is __get (native): a value read at once, or the member's
// callable, made once; the names below are the wrapper's own.
function __getOwn(t, k) {
  var h = t.h;
  if (k === '$put') return function (member) {
    return __call(h, member, 2, Array.prototype.slice.call(arguments, 1));
  };
  return function () { return __invoke(h, '', 1); };  // toString, valueOf
}
var __handler = {
  get: __get,
  set: function (t, k, v) { __invoke(t.h, k, 2, v); return true; },
  has: function (t, k) { return k === '__h'; }
};
)JS";

constexpr const char* kPageFileName = "@page";
// The global array of the wrappers of objects, by handle.
constexpr char kWrappers[] = "__wrappers";
// A wrapper target's handle under a hidden key, which the engine reads from
// the target without calling the wrapper's get trap.
constexpr char kHandleKey[] = DUK_HIDDEN_SYMBOL("h");
// The heap stash's array of the objects its built-ins reach.
constexpr char kBuiltinObjects[] = "builtinObjects";
// The heap stash's object of the page programs kept loaded, by compilation.
constexpr char kPrograms[] = "programs";

struct State {
  // Memory.
  size_t used = 0;
  size_t limit = 0;
  bool out_of_memory = false;
  // Time.
  std::chrono::steady_clock::time_point deadline;
  // A page run follows its thread's deadline instead (automation/deadline.h:
  // the page's, moved later by waits for the meet's write lock).
  bool thread_deadline = false;
  bool timed_out = false;
  // The page.
  const PageObjects* objects = nullptr;
  bool ended = false;
  std::vector<Variant> handles;  // values the script holds by handle
  std::unordered_map<const void*, size_t> handle_of;  // an object's handle
};

// Past the limit, a little room is kept so that the engine can still raise
// its out-of-memory error and unwind; the script is stopped at the next
// check either way.
constexpr size_t kUnwindRoom = 2u << 20;
constexpr size_t kHeader = 16;  // keeps the blocks 16-byte aligned

void* Alloc(void* udata, duk_size_t size) {
  auto& st = *static_cast<State*>(udata);
  size_t cap = st.out_of_memory ? st.limit + kUnwindRoom : st.limit;
  if (st.used + size > cap) {
    st.out_of_memory = true;
    return nullptr;
  }
  auto* p = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!p) return nullptr;
  std::memcpy(p, &size, sizeof size);
  st.used += size;
  return p + kHeader;
}

void Free(void* udata, void* ptr) {
  if (!ptr) return;
  auto& st = *static_cast<State*>(udata);
  auto* p = static_cast<unsigned char*>(ptr) - kHeader;
  size_t size;
  std::memcpy(&size, p, sizeof size);
  st.used -= size;
  std::free(p);
}

void* Realloc(void* udata, void* ptr, duk_size_t size) {
  if (!ptr) return Alloc(udata, size);
  if (size == 0) {
    Free(udata, ptr);
    return nullptr;
  }
  auto& st = *static_cast<State*>(udata);
  auto* p = static_cast<unsigned char*>(ptr) - kHeader;
  size_t old;
  std::memcpy(&old, p, sizeof old);
  size_t cap = st.out_of_memory ? st.limit + kUnwindRoom : st.limit;
  if (size > old && st.used + (size - old) > cap) {
    st.out_of_memory = true;
    return nullptr;
  }
  auto* q = static_cast<unsigned char*>(std::realloc(p, size + kHeader));
  if (!q) return nullptr;
  std::memcpy(q, &size, sizeof size);
  st.used = st.used - old + size;
  return q + kHeader;
}

struct FatalError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void Fatal(void*, const char* msg) { throw FatalError(msg ? msg : "script engine failure"); }

State& StateOf(duk_context* ctx) {
  duk_memory_functions funcs;
  duk_get_memory_functions(ctx, &funcs);
  return *static_cast<State*>(funcs.udata);
}

// --- values across the bridge ----------------------------------------------

constexpr double kUnixEpochSerial = 25569.0;  // 1970-01-01 as a serial day

void Push(duk_context* ctx, State& st, const Variant& v);

// One late-bound call of `member` of handle h, with the arguments from
// first_arg up to end_arg (the top when negative); pushes its result.
duk_ret_t InvokeOn(duk_context* ctx, size_t h, std::string_view member, automation::InvokeKind kind,
                   duk_idx_t first_arg, duk_idx_t end_arg = -1);

// The handle a bridge function carries under `key`.
size_t HandleOf(duk_context* ctx, const char* key) {
  duk_push_current_function(ctx);
  duk_get_prop_string(ctx, -1, key);
  const size_t h = static_cast<size_t>(duk_get_int(ctx, -1));
  duk_pop_2(ctx);
  return h;
}

// A wrapper's target, called in its place (the handler has no apply trap):
// the object's default member with the call's arguments, `rs("编号")`.
duk_ret_t NativeWrapperTarget(duk_context* ctx) {
  return InvokeOn(ctx, HandleOf(ctx, "h"), {}, automation::InvokeKind::Method, 0);
}

// A new wrapper of handle h: a proxy over a callable target (so that the
// object's default member can be called, `rs("编号")`) holding the handle
// and, per member asked for, its callable or whether it reads as a value
// (asked once).
void PushWrapper(duk_context* ctx, duk_int_t h) {
  duk_push_c_function(ctx, NativeWrapperTarget, DUK_VARARGS);
  duk_push_int(ctx, h);
  duk_put_prop_literal(ctx, -2, "h");
  duk_push_int(ctx, h);
  duk_put_prop_literal(ctx, -2, kHandleKey);
  duk_push_bare_object(ctx);
  duk_put_prop_literal(ctx, -2, "m");
  duk_get_global_literal(ctx, "__handler");
  duk_push_proxy(ctx, 0);
}

// An object the script already holds comes back as the same wrapper (a
// record set handed back through a by-reference holder after every call,
// the same connection read again), instead of a new handle and wrapper each
// time.
void PushHandle(duk_context* ctx, State& st, const Variant& v) {
  const void* identity = v.IsObject() ? v.object().get() : nullptr;
  if (identity) {
    if (auto it = st.handle_of.find(identity); it != st.handle_of.end()) {
      duk_get_global_literal(ctx, kWrappers);
      duk_get_prop_index(ctx, -1, static_cast<duk_uarridx_t>(it->second));
      duk_remove(ctx, -2);
      return;
    }
  }
  st.handles.push_back(v);
  const size_t h = st.handles.size() - 1;
  PushWrapper(ctx, static_cast<duk_int_t>(h));
  if (identity) {
    st.handle_of.emplace(identity, h);
    duk_get_global_literal(ctx, kWrappers);
    duk_dup(ctx, -2);
    duk_put_prop_index(ctx, -2, static_cast<duk_uarridx_t>(h));
    duk_pop(ctx);
  }
}

void Push(duk_context* ctx, State& st, const Variant& v) {
  using automation::VarType;
  switch (v.type()) {
    case VarType::Empty: duk_push_undefined(ctx); return;
    case VarType::Null: duk_push_null(ctx); return;
    case VarType::Boolean: duk_push_boolean(ctx, v.As<bool>()); return;
    case VarType::String: {
      // A short text (a field, a formatted row) is converted on the stack.
      const automation::TextView text = v.text();
      constexpr size_t kShortUnits = 256;
      if (text.size() <= kShortUnits) {
        char bytes[kShortUnits * kScriptBytesPerUnit];
        duk_push_lstring(ctx, bytes, ToScriptString(text, bytes));
      } else {
        std::string s = ToScriptString(text);
        duk_push_lstring(ctx, s.data(), s.size());
      }
      return;
    }
    case VarType::Date:
      duk_get_global_literal(ctx, "Date");
      duk_push_number(ctx, std::round((v.As<automation::Date>().serial - kUnixEpochSerial) * 86400000.0));
      duk_new(ctx, 1);
      return;
    case VarType::Object:
      if (!v.object()) {
        duk_push_null(ctx);
        return;
      }
      PushHandle(ctx, st, v);
      return;
    case VarType::Array: {
      duk_idx_t arr = duk_push_array(ctx);
      const auto& a = v.As<automation::detail::ArrayBox>().get();
      if (a.columns > 0) {  // two dimensions: an array of rows
        const size_t columns = static_cast<size_t>(a.columns);
        for (size_t r = 0; r * columns < a.items.size(); ++r) {
          duk_idx_t row = duk_push_array(ctx);
          for (size_t c = 0; c < columns && r * columns + c < a.items.size(); ++c) {
            Push(ctx, st, a.items[r * columns + c]);
            duk_put_prop_index(ctx, row, static_cast<duk_uarridx_t>(c));
          }
          duk_put_prop_index(ctx, arr, static_cast<duk_uarridx_t>(r));
        }
        return;
      }
      for (size_t i = 0; i < a.items.size(); ++i) {
        Push(ctx, st, a.items[i]);
        duk_put_prop_index(ctx, arr, static_cast<duk_uarridx_t>(i));
      }
      return;
    }
    case VarType::ByteArray: PushHandle(ctx, st, v); return;
    default: duk_push_number(ctx, automation::CDbl(v)); return;
  }
}

// The common length of the rows when the array at `i` holds only arrays of
// one length (at least one row of at least one item), else 0.
duk_size_t RowLength(duk_context* ctx, duk_idx_t i) {
  duk_size_t n = duk_get_length(ctx, i), columns = 0;
  for (duk_size_t r = 0; r < n; ++r) {
    duk_get_prop_index(ctx, i, static_cast<duk_uarridx_t>(r));
    duk_size_t len = duk_is_array(ctx, -1) ? duk_get_length(ctx, -1) : 0;
    duk_pop(ctx);
    if (len == 0 || (columns != 0 && len != columns)) return 0;
    columns = len;
  }
  return columns;
}

Variant Get(duk_context* ctx, State& st, duk_idx_t i) {
  i = duk_normalize_index(ctx, i);
  switch (duk_get_type(ctx, i)) {
    case DUK_TYPE_UNDEFINED: return Variant();
    case DUK_TYPE_NULL: return Variant::Null();
    case DUK_TYPE_BOOLEAN: return Variant(static_cast<bool>(duk_get_boolean(ctx, i)));
    case DUK_TYPE_NUMBER: {
      double d = duk_get_number(ctx, i);
      if (std::floor(d) == d && d >= -2147483648.0 && d <= 2147483647.0 && !(d == 0 && std::signbit(d)))
        return Variant(static_cast<int32_t>(d));
      return Variant(d);
    }
    case DUK_TYPE_STRING: {
      duk_size_t n;
      const char* s = duk_get_lstring(ctx, i, &n);
      return Variant(FromScriptString(std::string_view(s, n)));
    }
    case DUK_TYPE_OBJECT: {
      // A wrapper's handle is read from its target past the proxy's traps;
      // a member's callable carries "__h" itself.
      if (!duk_get_prop_literal(ctx, i, kHandleKey)) {
        duk_pop(ctx);
        duk_get_prop_literal(ctx, i, "__h");
      }
      if (duk_is_number(ctx, -1)) {
        size_t h = static_cast<size_t>(duk_get_int(ctx, -1));
        duk_pop(ctx);
        if (h < st.handles.size()) return st.handles[h];
        return Variant();
      }
      duk_pop(ctx);
      duk_get_prop_literal(ctx, i, "__isRef");
      bool is_ref = duk_get_boolean(ctx, -1);
      duk_pop(ctx);
      if (is_ref) {
        duk_get_prop_literal(ctx, i, "value");
        Variant v = Get(ctx, st, -1);
        duk_pop(ctx);
        return v;
      }
      if (duk_is_array(ctx, i)) {
        automation::Array a;
        duk_size_t n = duk_get_length(ctx, i);
        if (duk_size_t columns = RowLength(ctx, i)) {
          // An array of rows of one length is a two-dimensional array (the
          // charts' tables): items row by row.
          a.columns = static_cast<int32_t>(columns);
          for (duk_size_t r = 0; r < n; ++r) {
            duk_get_prop_index(ctx, i, static_cast<duk_uarridx_t>(r));
            for (duk_size_t c = 0; c < columns; ++c) {
              duk_get_prop_index(ctx, -1, static_cast<duk_uarridx_t>(c));
              a.items.push_back(Get(ctx, st, -1));
              duk_pop(ctx);
            }
            duk_pop(ctx);
          }
          return Variant(std::move(a));
        }
        for (duk_size_t k = 0; k < n; ++k) {
          duk_get_prop_index(ctx, i, static_cast<duk_uarridx_t>(k));
          a.items.push_back(Get(ctx, st, -1));
          duk_pop(ctx);
        }
        return Variant(std::move(a));
      }
      duk_get_global_literal(ctx, "Date");
      bool is_date = duk_instanceof(ctx, i, -1);
      duk_pop(ctx);
      if (is_date) {
        duk_get_prop_literal(ctx, i, "getTime");
        duk_dup(ctx, i);
        duk_call_method(ctx, 0);
        double ms = duk_get_number(ctx, -1);
        duk_pop(ctx);
        return Variant(automation::Date{ms / 86400000.0 + kUnixEpochSerial});
      }
      duk_size_t n;
      const char* s = duk_safe_to_lstring(ctx, i, &n);  // replaces the value with its text
      return Variant(FromScriptString(std::string_view(s, n)));
    }
    default: return Variant();
  }
}

bool IsRef(duk_context* ctx, duk_idx_t i) {
  if (!duk_is_object(ctx, i) || duk_is_function(ctx, i)) return false;
  duk_get_prop_literal(ctx, i, "__isRef");
  bool r = duk_get_boolean(ctx, -1);
  duk_pop(ctx);
  return r;
}

[[noreturn]] void ThrowEnded(duk_context* ctx) {
  (void)duk_error(ctx, DUK_ERR_ERROR, "response ended");
  std::abort();  // not reached
}

bool Ended(const State& st) {
  return st.objects->response_object && st.objects->ended && st.objects->ended(*st.objects->response_object);
}

bool ReadsAsValue(const State& st, size_t h, std::string_view member) {
  if (h >= st.handles.size() || !st.handles[h].IsObject() || !st.handles[h].object()) return false;
  return st.handles[h].object()->IsProperty(FromScriptString(member));
}

// __isprop(handle, member): whether the object's member reads as a value.
duk_ret_t NativeIsProp(duk_context* ctx) {
  State& st = StateOf(ctx);
  const size_t h = static_cast<size_t>(duk_require_int(ctx, 0));
  duk_size_t name_len;
  const char* name_bytes = duk_require_lstring(ctx, 1, &name_len);
  duk_push_boolean(ctx, ReadsAsValue(st, h, std::string_view(name_bytes, name_len)));
  return 1;
}

duk_ret_t NativeInvoke(duk_context* ctx);
duk_ret_t NativeCall(duk_context* ctx);

// A member's callable: a native function carrying its handle and member
// name, so that `rs.MoveNext()` and `Request.QueryString("a")` are one
// native call, and its value read (`"" + Request.QueryString`) another.
duk_ret_t NativeMemberCall(duk_context* ctx) {
  const duk_idx_t args = duk_get_top(ctx);
  duk_push_current_function(ctx);
  duk_get_prop_literal(ctx, -1, "__h");
  duk_get_prop_literal(ctx, -2, "__k");
  const size_t h = static_cast<size_t>(duk_get_int(ctx, -2));
  duk_size_t len = 0;
  const char* member = duk_get_lstring(ctx, -1, &len);
  // The member's name stays on the stack, above the arguments, for the call.
  duk_remove(ctx, args);
  return InvokeOn(ctx, h, std::string_view(member ? member : "", len), automation::InvokeKind::Method, 0,
                  args);
}

// toString and valueOf of a member's callable: its value.
duk_ret_t NativeMemberValue(duk_context* ctx) {
  duk_set_top(ctx, 0);
  duk_push_this(ctx);
  if (!duk_is_function(ctx, 0)) return duk_type_error(ctx, "not a member of a host object");
  duk_get_prop_literal(ctx, 0, "__h");
  duk_get_prop_literal(ctx, 0, "__k");
  duk_size_t len = 0;
  const char* member = duk_get_lstring(ctx, 2, &len);
  return InvokeOn(ctx, static_cast<size_t>(duk_get_int(ctx, 1)), std::string_view(member ? member : "", len),
                  automation::InvokeKind::PropertyGet, 3);
}

// Pushes a new callable for member `key` (a string at key_idx) of handle h.
void PushMember(duk_context* ctx, duk_int_t h, duk_idx_t key_idx) {
  key_idx = duk_normalize_index(ctx, key_idx);
  duk_push_c_function(ctx, NativeMemberCall, DUK_VARARGS);
  duk_push_int(ctx, h);
  duk_put_prop_literal(ctx, -2, "__h");
  duk_dup(ctx, key_idx);
  duk_put_prop_literal(ctx, -2, "__k");
  duk_get_global_literal(ctx, "__memberValue");
  duk_dup(ctx, -1);
  duk_put_prop_literal(ctx, -3, "toString");
  duk_put_prop_literal(ctx, -2, "valueOf");
}

// __get(target, key), the wrappers' get trap: the handle for "__h", nothing
// for "then" and "toJSON" (a wrapper is neither a promise nor data), a
// member that reads as a value read now, any other member its callable,
// made once per wrapper and member. Whether a member reads as a value is
// asked once per wrapper and member too.
duk_ret_t NativeGet(duk_context* ctx) {
  if (!duk_is_string(ctx, 1)) return 0;
  duk_size_t key_len;
  const char* key_bytes = duk_get_lstring(ctx, 1, &key_len);
  const std::string_view key(key_bytes, key_len);
  if (key == "__h") {
    duk_get_prop_literal(ctx, 0, "h");
    return 1;
  }
  if (key == "then" || key == "toJSON") return 0;
  if (key == "$put" || key == "toString" || key == "valueOf") {
    duk_get_global_literal(ctx, "__getOwn");
    duk_dup(ctx, 0);
    duk_dup(ctx, 1);
    duk_call(ctx, 2);
    return 1;
  }
  // 2: member -> its callable, or true when it reads as a value
  duk_get_prop_literal(ctx, 0, "m");
  duk_dup(ctx, 1);
  duk_get_prop(ctx, 2);  // 3
  if (duk_is_function(ctx, 3)) return 1;
  duk_get_prop_literal(ctx, 0, "h");
  const duk_int_t h = duk_get_int(ctx, 4);
  if (duk_is_undefined(ctx, 3)) {
    if (!ReadsAsValue(StateOf(ctx), static_cast<size_t>(h), key)) {
      PushMember(ctx, h, 1);  // 5
      duk_dup(ctx, 1);
      duk_dup(ctx, 5);
      duk_put_prop(ctx, 2);
      return 1;
    }
    duk_dup(ctx, 1);
    duk_push_true(ctx);
    duk_put_prop(ctx, 2);
  }
  return InvokeOn(ctx, static_cast<size_t>(h), key, automation::InvokeKind::PropertyGet, duk_get_top(ctx));
}

// A member's name as the automation side takes it: converted in place when
// it is short and ASCII, as member names are.
class MemberName {
 public:
  explicit MemberName(std::string_view bytes) {
    const char* end = bytes.data() + bytes.size();
    if (bytes.size() <= kInline && automation::ascii::RunOfBytes(bytes.data(), end) == bytes.size()) {
      automation::ascii::Widen(bytes.data(), bytes.size(), inline_);
      view_ = automation::TextView(inline_, bytes.size());
      return;
    }
    text_ = FromScriptString(bytes);
    view_ = text_;
  }
  MemberName(const MemberName&) = delete;
  MemberName& operator=(const MemberName&) = delete;
  automation::TextView view() const { return view_; }

 private:
  static constexpr size_t kInline = 48;
  char16_t inline_[kInline];
  automation::Text text_;
  automation::TextView view_;
};

// __invoke(handle, member, kind, args...): one late-bound call.
duk_ret_t NativeInvoke(duk_context* ctx) {
  const size_t h = static_cast<size_t>(duk_require_int(ctx, 0));
  duk_size_t name_len;
  const char* name_bytes = duk_require_lstring(ctx, 1, &name_len);
  const auto kind = static_cast<automation::InvokeKind>(duk_require_int(ctx, 2));
  return InvokeOn(ctx, h, std::string_view(name_bytes, name_len), kind, 3);
}

duk_ret_t InvokeOn(duk_context* ctx, size_t h, std::string_view member, automation::InvokeKind kind,
                   duk_idx_t first_arg, duk_idx_t end_arg) {
  State& st = StateOf(ctx);
  if (st.ended) ThrowEnded(ctx);
  if (end_arg < 0) end_arg = duk_get_top(ctx);
  const MemberName name(member);

  // The arguments, in place for the usual few; more go to the heap.
  constexpr size_t kInlineArgs = 6;
  const size_t count = static_cast<size_t>(end_arg - first_arg);
  Variant inline_slots[kInlineArgs];
  Variant* inline_ptrs[kInlineArgs];
  bool inline_by_ref[kInlineArgs];
  std::vector<Variant> more_slots;
  std::vector<Variant*> more_ptrs;
  std::unique_ptr<bool[]> more_by_ref;
  Variant* slots = inline_slots;
  Variant** ptrs = inline_ptrs;
  bool* by_ref = inline_by_ref;
  if (count > kInlineArgs) {
    more_slots.resize(count);
    more_ptrs.resize(count);
    more_by_ref = std::make_unique<bool[]>(count);
    slots = more_slots.data();
    ptrs = more_ptrs.data();
    by_ref = more_by_ref.get();
  }
  for (size_t k = 0; k < count; ++k) {
    const duk_idx_t i = first_arg + static_cast<duk_idx_t>(k);
    by_ref[k] = IsRef(ctx, i);
    slots[k] = Get(ctx, st, i);
    ptrs[k] = &slots[k];
  }

  Variant result;
  std::string error;
  int number = 0;
  try {
    if (h >= st.handles.size()) throw automation::Error(automation::err::kObjectRequired);
    Variant target = st.handles[h];
    if (!target.IsObject() || !target.object()) throw automation::Error(automation::err::kObjectRequired);
    result = target.object()->Invoke(name.view(), kind, std::span<Variant* const>(ptrs, count));
  } catch (const automation::Error& e) {
    number = e.number();
    error = e.what();
    if (error.empty()) error = "error " + std::to_string(number);
  } catch (const std::bad_alloc&) {
    number = automation::err::kOutOfMemory;
    error = "Out of memory";
  } catch (const std::exception& e) {
    number = 500;
    error = e.what();
  }
  // By-reference arguments: what the call left in the variable goes back
  // into the holder, failed call or not.
  for (size_t k = 0; k < count; ++k) {
    if (!by_ref[k]) continue;
    Push(ctx, st, slots[k]);
    duk_put_prop_literal(ctx, first_arg + static_cast<duk_idx_t>(k), "value");
  }
  if (Ended(st)) {
    st.ended = true;
    ThrowEnded(ctx);
  }
  if (!error.empty()) {
    duk_push_error_object(ctx, DUK_ERR_ERROR, "%s", error.c_str());
    duk_push_int(ctx, number);
    duk_put_prop_literal(ctx, -2, "number");
    duk_push_string(ctx, error.c_str());
    duk_put_prop_literal(ctx, -2, "description");
    (void)duk_throw(ctx);
  }
  Push(ctx, st, result);
  return 1;
}

// __call(handle, member, kind, args): the same call with the arguments in
// an array or a function's `arguments`, spread here rather than by a
// script array and apply.
duk_ret_t NativeCall(duk_context* ctx) {
  duk_require_object(ctx, 3);
  const duk_size_t n = duk_get_length(ctx, 3);
  // The engine's own value stack bound refuses an absurd count (an error
  // the page can catch) before anything is pushed.
  if (n > static_cast<duk_size_t>(INT32_MAX / 2)) (void)duk_range_error(ctx, "too many arguments");
  duk_require_stack(ctx, static_cast<duk_idx_t>(n) + 4);
  for (duk_size_t i = 0; i < n; ++i) duk_get_prop_index(ctx, 3, static_cast<duk_uarridx_t>(i));
  duk_remove(ctx, 3);
  return NativeInvoke(ctx);
}

// __w(text): the page's own text and "<%= %>" values.
duk_ret_t NativeWrite(duk_context* ctx) {
  State& st = StateOf(ctx);
  if (st.ended) ThrowEnded(ctx);
  if (duk_is_undefined(ctx, 0) || duk_is_null(ctx, 0)) return 0;
  if (duk_is_object(ctx, 0)) {
    // An automation value (a record set field read through a proxy) or a
    // script object: its text.
    Variant v = Get(ctx, st, 0);
    try {
      if (st.objects->response_object) st.objects->response_object->Write(automation::CStr(v));
    } catch (const automation::Error& e) {
      std::string msg = e.what();
      (void)duk_error(ctx, DUK_ERR_ERROR, "%s", msg.c_str());
    }
    return 0;
  }
  duk_size_t n;
  const char* s = duk_to_lstring(ctx, 0, &n);
  if (!st.objects->response_object) return 0;
  // Page text and most values are short: converted on the stack.
  constexpr size_t kShortBytes = 1024;
  if (n <= kShortBytes) {
    char16_t units[kShortBytes];
    const size_t count = FromScriptString(std::string_view(s, n), units);
    st.objects->response_object->Write(automation::TextView(units, count));
  } else {
    st.objects->response_object->Write(FromScriptString(std::string_view(s, n)));
  }
  return 0;
}

// "    at fn (@page:12)" -> 12, the innermost line in the page itself.
int PageLine(const std::string& stack) {
  std::string tag = std::string("(") + kPageFileName + ":";
  size_t at = stack.find(tag);
  if (at == std::string::npos) return 0;
  return std::atoi(stack.c_str() + at + tag.size());
}

bool PastDeadline(const State& st) {
  return st.thread_deadline ? automation::DeadlinePassed() : std::chrono::steady_clock::now() >= st.deadline;
}

ScriptResult ErrorResult(duk_context* ctx, State& st, const CompiledPage& page) {
  ScriptResult r;
  if (st.ended) return r;  // Response.End stopped the page: a normal end
  // A native call stopped by the deadline ends the page with its error
  // before the engine looks at the clock again.
  if (PastDeadline(st)) st.timed_out = true;
  if (st.timed_out) r.kind = ScriptResult::Kind::TimedOut;
  else if (st.out_of_memory) r.kind = ScriptResult::Kind::OutOfMemory;
  else r.kind = ScriptResult::Kind::Error;

  int line = 0;
  if (duk_is_object(ctx, -1)) {
    duk_get_prop_literal(ctx, -1, "stack");
    if (duk_is_string(ctx, -1)) line = PageLine(duk_get_string(ctx, -1));
    duk_pop(ctx);
    if (line == 0) {
      duk_get_prop_literal(ctx, -1, "lineNumber");
      if (duk_is_number(ctx, -1)) line = duk_get_int(ctx, -1);
      duk_pop(ctx);
    }
  }
  r.message = duk_safe_to_string(ctx, -1);
  if (r.kind == ScriptResult::Kind::TimedOut) r.message = "the page ran past its time limit";
  if (r.kind == ScriptResult::Kind::OutOfMemory) r.message = "the page used more memory than it may";
  if (line > 0) {
    auto [file, file_line] = page.Locate(line);
    r.file = file;
    r.line = file_line;
  }
  return r;
}

// Compiles `source` as the program `file_name` and leaves its bytecode in
// `out`; false (nothing in out) when it does not compile.
bool Dump(duk_context* ctx, const std::string& source, const char* file_name, std::string& out) {
  duk_push_lstring(ctx, source.data(), source.size());
  duk_push_string(ctx, file_name);
  if (duk_pcompile(ctx, 0) != 0) {
    duk_pop(ctx);
    return false;
  }
  duk_dump_function(ctx);
  duk_size_t n;
  const char* p = static_cast<const char*>(duk_get_buffer(ctx, -1, &n));
  out.assign(p, n);
  duk_pop(ctx);
  return true;
}

std::string Dumped(const std::string& source, const char* file_name) {
  State st;
  st.limit = kCompileMemoryBytes;
  st.deadline = std::chrono::steady_clock::now() + kCompileTime;
  std::string out;
  duk_context* ctx = duk_create_heap(Alloc, Realloc, Free, &st, Fatal);
  if (!ctx) return out;
  try {
    Dump(ctx, source, file_name, out);
  } catch (const FatalError&) {
    return {};
  }
  duk_destroy_heap(ctx);
  return out;
}

const std::string& PreludeBytecode() {
  static const std::string bytecode = Dumped(kPrelude, "@prelude");
  return bytecode;
}

// Pushes the function of a program: loaded from bytecode when there is
// some, else compiled from the source. False (the error on the stack) when
// it does not compile.
bool PushProgram(duk_context* ctx, const std::string& bytecode, const std::string& source, const char* file_name) {
  if (!bytecode.empty()) {
    void* buf = duk_push_fixed_buffer(ctx, bytecode.size());
    std::memcpy(buf, bytecode.data(), bytecode.size());
    duk_load_function(ctx);
    return true;
  }
  duk_push_lstring(ctx, source.data(), source.size());
  duk_push_string(ctx, file_name);
  return duk_pcompile(ctx, 0) == 0;
}

void PutGlobalObject(duk_context* ctx, State& st, const char* name, const Variant& v) {
  Push(ctx, st, v);
  duk_put_global_string(ctx, name);
}

}  // namespace

}  // namespace web

// The engine asks this between bytecode runs; true stops the script.
extern "C" duk_bool_t arenix_duk_exec_timeout(void* udata) {
  auto& st = *static_cast<web::State*>(udata);
  if (st.ended || st.out_of_memory || st.timed_out) return 1;
  if (web::PastDeadline(st)) st.timed_out = true;
  return st.timed_out ? 1 : 0;
}

// Math.random: a generator per worker thread, seeded from the system.
extern "C" double arenix_duk_random(void*) {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

namespace web {

std::string ScriptBytecode(const std::string& program) { return Dumped(program, kPageFileName); }

namespace {

// A worker thread's engine: one heap kept from request to request (its
// interned strings, allocations and built-ins warm), with the state its
// allocator and time check read. Each request runs on a new engine thread
// that shares the heap's built-ins but has a fresh global object, so that
// no global and no wrapper of a host object one page sets is there for the
// next. What a page can change of the shared built-ins (a prototype, a
// property of a built-in function) is caught by their digest, taken when
// the heap is made and compared after every request: a heap whose
// built-ins a page changed is dropped, and the next request gets a new one.
void DefineBridge(duk_context* ctx);

struct Engine {
  State st;
  duk_context* heap = nullptr;
  duk_uint64_t builtins_digest = 0;
  size_t programs = 0;  // page programs kept in the heap's stash
  size_t live = 0;      // heap bytes after its last full collection
  ~Engine() { Drop(); }
  void Drop() {
    if (heap) duk_destroy_heap(heap);
    heap = nullptr;
    st.used = 0;
    programs = 0;
    live = 0;
  }
  // Makes the heap and takes the digest of its built-ins; false when the
  // heap cannot be made.
  bool Make() {
    heap = duk_create_heap(Alloc, Realloc, Free, &st, Fatal);
    if (!heap) return false;
    DefineBridge(heap);
    duk_push_heap_stash(heap);
    arenix_duk_push_builtin_objects(heap);
    builtins_digest = arenix_duk_objects_digest(heap, -1);
    duk_put_prop_literal(heap, -2, kBuiltinObjects);
    duk_pop(heap);
    return true;
  }
  // Pushes onto the request's thread the page's program: a new instance of
  // the one the engine keeps loaded (loaded on the heap's own thread, so
  // that it holds on to no request's globals), at most `keep` of them;
  // false (the error on the stack) when it does not compile.
  bool PushPage(duk_context* ctx, const CompiledPage& page, size_t keep) {
    if (page.id == 0 || page.bytecode.empty() || keep == 0)
      return PushProgram(ctx, page.bytecode, page.program, kPageFileName);
    const std::string key = std::to_string(page.id);
    duk_push_heap_stash(heap);
    if (!duk_get_prop_literal(heap, -1, kPrograms) || programs >= keep) {
      duk_pop(heap);
      duk_push_bare_object(heap);
      duk_dup_top(heap);
      duk_put_prop_literal(heap, -3, kPrograms);
      programs = 0;
    }
    if (!duk_get_prop_lstring(heap, -1, key.data(), key.size())) {
      duk_pop(heap);
      PushProgram(heap, page.bytecode, page.program, kPageFileName);
      duk_dup_top(heap);
      duk_put_prop_lstring(heap, -3, key.data(), key.size());
      ++programs;
    }
    duk_xmove_top(ctx, heap, 1);
    duk_pop_2(heap);
    arenix_duk_push_program(ctx, -1);
    duk_remove(ctx, -2);
    return true;
  }
  void DropPrograms() {
    duk_push_heap_stash(heap);
    duk_del_prop_literal(heap, -1, kPrograms);
    duk_pop(heap);
    programs = 0;
  }
  bool BuiltinsUnchanged() {
    duk_push_heap_stash(heap);
    duk_get_prop_literal(heap, -1, kBuiltinObjects);
    const bool same = arenix_duk_objects_digest(heap, -1) == builtins_digest;
    duk_pop_2(heap);
    return same;
  }
};

Engine& ThreadEngine() {
  thread_local Engine engine;
  return engine;
}

// Everything of one request the state holds, back to nothing.
void ForgetRequest(State& st) {
  st.objects = nullptr;
  st.ended = st.timed_out = st.out_of_memory = false;
  st.handles.clear();
  st.handle_of.clear();
}

// The bridge's natives and the prelude, on the heap's own global object:
// made once per heap, shared by its requests as the built-ins are.
void DefineBridge(duk_context* ctx) {
  duk_push_c_function(ctx, NativeInvoke, DUK_VARARGS);
  duk_put_global_literal(ctx, "__invoke");
  duk_push_c_function(ctx, NativeGet, 2);
  duk_put_global_literal(ctx, "__get");
  duk_push_c_function(ctx, NativeMemberValue, 0);
  duk_put_global_literal(ctx, "__memberValue");
  duk_push_c_function(ctx, NativeCall, 4);
  duk_put_global_literal(ctx, "__call");
  duk_push_c_function(ctx, NativeIsProp, 2);
  duk_put_global_literal(ctx, "__isprop");
  duk_push_c_function(ctx, NativeWrite, 1);
  duk_put_global_string(ctx, kWriteFunction);
  if (!PushProgram(ctx, PreludeBytecode(), kPrelude, "@prelude") || duk_pcall(ctx, 0) != 0)
    throw FatalError(std::string("the page prelude failed: ") + duk_safe_to_string(ctx, -1));
  duk_pop(ctx);
}

ScriptResult RunOnThread(duk_context* ctx, Engine& engine, const CompiledPage& page, const PageObjects& objects,
                         size_t programs_kept) {
  State& st = engine.st;
  ScriptResult result;
  duk_push_array(ctx);
  duk_put_global_literal(ctx, kWrappers);
  PutGlobalObject(ctx, st, "Request", objects.request);
  PutGlobalObject(ctx, st, "Response", objects.response);
  PutGlobalObject(ctx, st, "Server", objects.server);
  PutGlobalObject(ctx, st, "Session", objects.session);
  if (!engine.PushPage(ctx, page, programs_kept) || duk_pcall(ctx, 0) != 0)
    result = ErrorResult(ctx, st, page);
  return result;
}

}  // namespace

ScriptResult RunScript(const CompiledPage& page, const PageObjects& objects, const ScriptLimits& limits) {
  Engine& engine = ThreadEngine();
  State& st = engine.st;
  ForgetRequest(st);
  st.limit = limits.memory;
  st.deadline = std::chrono::steady_clock::now() + limits.time;
  // The component's long native work stops at the same time.
  automation::ScopedDeadline native_limit(st.deadline);
  st.thread_deadline = true;
  st.objects = &objects;
  ScriptResult result;
  try {
    if (!engine.heap && !engine.Make()) {
      result.kind = ScriptResult::Kind::OutOfMemory;
      result.message = "could not make a script context";
      return result;
    }
    duk_context* heap = engine.heap;
    duk_push_thread(heap);
    duk_context* ctx = duk_get_context(heap, -1);
    arenix_duk_fresh_global(ctx);
    result = RunOnThread(ctx, engine, page, objects, limits.programs_kept);
    // The request's thread, its globals and everything they reach are
    // garbage now: most of it is freed at once, the rest (cycles) by the
    // engine's own collections as the heap grows, or by an emergency one
    // before an allocation would pass the memory limit. After a failed page
    // it is collected at once.
    duk_set_top(heap, 0);
    ForgetRequest(st);
    if (result.kind != ScriptResult::Kind::Done) duk_gc(heap, 0);
    if (!engine.BuiltinsUnchanged()) engine.Drop();
  } catch (const FatalError& e) {
    // The heap can no longer be trusted; it is left, not destroyed, and the
    // next request gets a new one.
    result.kind = st.out_of_memory ? ScriptResult::Kind::OutOfMemory : ScriptResult::Kind::Error;
    result.message = e.what();
    engine.heap = nullptr;
    engine.st = State();
    return result;
  }
  // A page stopped by its limits may have left the heap at its edge: the
  // next request starts on a new one.
  if (result.kind == ScriptResult::Kind::OutOfMemory || result.kind == ScriptResult::Kind::TimedOut) engine.Drop();
  // Every request leaves garbage in cycles (its global object, the page's
  // functions and their prototypes), which the engine would collect only
  // once the heap has grown to some fifty times its live size: across all
  // workers that was most of the server's memory. Past `kept` bytes of
  // growth since its last collection the heap is collected now; one whose
  // live part is past `kept_max` lets go of its kept page programs, and one
  // past it even then (what it keeps is not garbage) is made anew.
  if (engine.heap && st.used > engine.live + limits.kept) {
    duk_gc(engine.heap, 0);
    if (st.used > limits.kept_max && engine.programs > 0) {
      engine.DropPrograms();
      duk_gc(engine.heap, 0);
    }
    engine.live = st.used;
    if (engine.live > limits.kept_max) engine.Drop();
  }
  ForgetRequest(st);
  return result;
}

size_t ScriptHeapBytes() {
  const Engine& engine = ThreadEngine();
  return engine.heap ? engine.st.used : 0;
}

}  // namespace web
