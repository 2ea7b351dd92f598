// The script engine's header. The engine is built from the distribution's
// Duktape source with its execution-time check switched on (the packaged
// library is built without it, and a page that loops forever could then
// never be stopped) and with C++ exceptions for its errors, so that an
// error raised inside a bridge call unwinds the C++ frames in between.
#pragma once

#include "duktape.h"
