// The data access objects in the programmatic-name registry.
#pragma once

namespace data {

/// Registers "Adodb.Connection" and "Adodb.RecordSet".
void RegisterClasses();

}  // namespace data
