#pragma once

#include "platform/Power.h"

#include <gtest/gtest.h>

namespace tvx::test {

// The machine's power as a window under test must never touch it: any request fails the test.
class NoPower final : public platform::IPower {
public:
    void requestShutdown() override { ADD_FAILURE() << "shutdown requested"; }
    void acquireShutdownRight() override { ADD_FAILURE() << "shutdown right acquired"; }
    void forcePowerOff() override { ADD_FAILURE() << "power-off forced"; }
};

}  // namespace tvx::test
