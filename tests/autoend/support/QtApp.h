#pragma once

#include "QtTestEnvironment.h"

#include <QApplication>

namespace autoend::testing {

inline ::testing::Environment* const kQtApp = tvx::test::registerQtApp<QApplication>();

}  // namespace autoend::testing
