#pragma once

// Makes the program's windows known to assistive technology as what they are:
// a calculator window as a window (Qt would call a plain QWidget a "filler"),
// a message box as an alert, the input fields through AccessibleLineEdit and
// the announcer as a notification. Safe to call more than once.
void InstallAccessibleInterfaces();
