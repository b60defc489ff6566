#pragma once

#include "QtTestEnvironment.h"

#include <QApplication>

namespace agent::test {

inline ::testing::Environment* const kQtApp = tvx::test::registerQtApp<QApplication>();

}  // namespace agent::test
