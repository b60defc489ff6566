#include "core/autoend/AutoEndState.h"

namespace autoend {

AutoEndState& programState() {
    static AutoEndState state;
    return state;
}

}  // namespace autoend
