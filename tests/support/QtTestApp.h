#pragma once

#include "QtTestEnvironment.h"

#include <QApplication>

namespace tvx::test {

// Every test program that includes this gets one QApplication for all its cases.
inline ::testing::Environment* const kQtApp = registerQtApp<QApplication>();

}  // namespace tvx::test
