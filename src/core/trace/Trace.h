#pragma once

#include <string_view>

// The end-to-end tests' event log, one for the whole program: when TVX_TRACE_FILE names a file, each
// call appends "<ms since the epoch> <event> <detail>" to it, from any thread, so that its lines line up
// with other recordings. Without the variable nothing is written anywhere.
namespace trace {

bool enabled();
// Texts are UTF-8; an empty detail leaves the line at "<ms> <event>".
void write(std::string_view event, std::string_view detail = {});

}  // namespace trace
