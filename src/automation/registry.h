// The programmatic-name registry: CreateObject("Adodb.Connection") and the
// installed-object test both ask this one place. Names compare without
// regard to ASCII case, as the platform's registry did.
//
// Thread-safe: registration and creation may happen on any request thread.
#pragma once

#include <functional>
#include <vector>

#include "automation/object.h"

namespace automation {

using ObjectFactory = std::function<ObjectPtr()>;

/// Adds or replaces the factory for a programmatic name.
void RegisterClass(TextView prog_id, ObjectFactory factory);

/// True when a factory is registered under the name.
bool IsClassRegistered(TextView prog_id);

/// A new object of the named class; 429 "ActiveX component can't create
/// object" when none is registered.
ObjectPtr CreateObject(TextView prog_id);

/// All registered names, in registration order.
std::vector<Text> RegisteredClasses();

}  // namespace automation
