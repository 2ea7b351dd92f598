// The script engine's header. The engine is built from the distribution's
// Duktape source with its execution-time check switched on (the packaged
// library is built without it, and a page that loops forever could then
// never be stopped) and with C++ exceptions for its errors, so that an
// error raised inside a bridge call unwinds the C++ frames in between.
#pragma once

#include "duktape.h"

// The page host's shared built-ins (src/web/script_engine_builtins.inc,
// compiled into the engine).
extern "C" void arenix_duk_push_builtin_objects(duk_context* ctx);
extern "C" duk_uint64_t arenix_duk_objects_digest(duk_context* ctx, duk_idx_t idx);
extern "C" void arenix_duk_fresh_global(duk_context* ctx);
extern "C" void arenix_duk_push_program(duk_context* ctx, duk_idx_t idx);
