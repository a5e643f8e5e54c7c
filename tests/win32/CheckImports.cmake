# Checks that a Windows program is one file that runs on a bare Windows: a
# 64-bit GUI program that imports no DLL but Windows' own (no libstdc++,
# libgcc or winpthread beside it).
#
#   cmake -DOBJDUMP=... -DPROGRAM=rilo_mj.exe -P CheckImports.cmake
cmake_minimum_required(VERSION 3.25)

# objdump speaks the locale's language; the patterns below are its English.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C LANGUAGE= ${OBJDUMP} -p ${PROGRAM}
    OUTPUT_VARIABLE headers RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} cannot read ${PROGRAM}")
endif()
if(NOT headers MATCHES "file format pei-x86-64")
    message(FATAL_ERROR "${PROGRAM} is not a 64-bit Windows program")
endif()
if(NOT headers MATCHES "Subsystem[ \t]+00000002")
    message(FATAL_ERROR "${PROGRAM} is not a GUI program: it would open a console window")
endif()

# The DLLs every Windows 10 and 11 has.
set(system_dlls
    advapi32 comctl32 comdlg32 gdi32 imm32 kernel32 msvcrt ole32 oleaut32 shell32 shlwapi
    ucrtbase user32 uxtheme version xmllite)
string(REGEX MATCHALL "DLL Name: [^\n]+" names "${headers}")
if(NOT names)
    message(FATAL_ERROR "${PROGRAM} imports nothing: not a program the objdump understood")
endif()
foreach(entry IN LISTS names)
    string(REGEX REPLACE "DLL Name: " "" dll "${entry}")
    string(STRIP "${dll}" dll)
    string(TOLOWER "${dll}" lower)
    string(REGEX REPLACE "\\.dll$" "" stem "${lower}")
    if(NOT stem IN_LIST system_dlls AND NOT stem MATCHES "^api-ms-win-")
        message(FATAL_ERROR "${PROGRAM} needs ${dll}, which Windows does not ship")
    endif()
    message(STATUS "imports ${dll}")
endforeach()
