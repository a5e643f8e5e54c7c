#pragma once

#include "TApplication.h"

#include <QtTest>

// Runs a QtTest class under the program's own application object.
#define RILO_GUI_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        TApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
