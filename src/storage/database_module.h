// The record-database primitives and the run-time's chain of open databases.
#pragma once

namespace orvane {

// Registers the primitives and `Compact-Databases?`; drops databases left
// open by an earlier run-time.
void register_databases();
// Updates and closes every open database (at shut-down).
void close_all_databases();

}  // namespace orvane
