#pragma once

// One Qt application object for a whole test executable, made before the first test runs.
// Include this header once per test executable, with the application class it needs.

#include <QCoreApplication>

#include <memory>

#include <gtest/gtest.h>

namespace tvx::test {

template <typename App>
class QtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "tvx_test";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<App>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<App> app_;
};

template <typename App>
::testing::Environment* registerQtApp() {
    return ::testing::AddGlobalTestEnvironment(new QtAppEnvironment<App>);
}

}  // namespace tvx::test
