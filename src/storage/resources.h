// The run-time's resource manager and the resource primitives.
//
// Resources reach Lisp as pointer Values of kind "resource" whose word 1 is
// the handle of the memory-block layer that holds the data; 0 when nothing
// was found (`reserror` says why).
#pragma once

#include <cstdint>
#include <string>

#include "core/value.h"
#include "storage/resource_manager.h"

namespace orvane {

// Binds the resource primitives and starts an empty resource manager (files
// a previous run-time left open are dropped, unfinished changes rolled back).
void register_resources();

// The run-time's resource manager (a documented singleton); its resources
// live in memory-block handles.
ResourceManager& resource_manager();

// Closes every open resource file, writing its changes (quit).
void close_all_resource_files();

// A pointer Value of kind "resource" for a handle (0: nothing found).
Value make_resource_value(std::uint32_t handle);

// The printed form of a resource Value: "<resource TYPE ID "NAME" HANDLE of
// size SIZE>", or "<resource disposed>" when no open file owns its handle.
std::string resource_printed_form(Value resource);

}  // namespace orvane
