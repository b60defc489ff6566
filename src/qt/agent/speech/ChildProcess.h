#pragma once

// The engines' child processes are run by the platform layer.
#include "platform/ChildProcess.h"

namespace agent::speech {

using platform::ChildLimits;
using platform::ChildResult;
using platform::runChild;

}  // namespace agent::speech
