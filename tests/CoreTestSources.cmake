# The GoogleTest suites of the settlement core. Both builds run them: natively
# on Linux (tests/CMakeLists.txt) and cross-built for Windows under Wine
# (tests/win32/CMakeLists.txt), where a 32-bit long or another C run-time
# would show.
set(RILO_CORE_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CalcSettlementTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LargeLossNoticeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PaymentTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextToIntTest.cpp
)
