// The data access objects in the programmatic-name registry (the same idea
// as platform/classes.h, one layer up).
#pragma once

namespace data {

/// Registers "Adodb.Connection" and "Adodb.RecordSet".
void RegisterClasses();

}  // namespace data
