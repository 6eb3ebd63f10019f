// The main function of a Qt Test program of the Qt host: without a display it
// runs on the offscreen platform, with the program's own look.
#pragma once

#include <QApplication>
#include <QtTest>

#include "qt/appearance.hpp"

#define TAVELIN_QTEST_MAIN(TestClass)                     \
  int main(int argc, char** argv) {                       \
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && \
        qEnvironmentVariableIsEmpty("DISPLAY") &&         \
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) { \
      qputenv("QT_QPA_PLATFORM", "offscreen");            \
    }                                                     \
    QApplication application(argc, argv);                 \
    tavelin::qt::ApplyAppearance(application);            \
    TestClass tests;                                      \
    return QTest::qExec(&tests, argc, argv);              \
  }
