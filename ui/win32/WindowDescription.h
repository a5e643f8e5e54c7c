#pragma once

#include <string>
#include <string_view>
#include <vector>

// A window as its Designer description gives it: the window's own settings,
// its components in the order of the description, and the tab sequence.
// Geometry is in pixels at 96 pixels per inch.
struct ComponentDescription
{
    std::wstring className; // the Designer class: QGroupBox, QLabel, QLineEdit, QPushButton
    std::wstring name;      // Edit1, Button2, ...
    int parent = -1;        // index of the component it sits in; -1 for the window
    int left = 0, top = 0, width = 0, height = 0; // relative to the parent
    std::wstring text;                            // caption, group title or design text
    std::wstring toolTip;
    std::wstring buddy; // the field a label names
    bool bold = false;
    long long maxLength = -1; // -1: not given
};

struct WindowDescription
{
    std::wstring className; // TFORM1
    std::wstring name;      // Form1
    std::wstring caption;
    std::wstring fontFamily;
    int fontPointSize = 9;
    std::wstring charset; // SHIFTJIS_CHARSET, ...; empty for the system's default
    int left = 0, top = 0;
    int clientWidth = 0, clientHeight = 0;
    std::vector<ComponentDescription> components;
    std::vector<std::wstring> tabStops;

    // Index of the named component, -1 if there is none.
    int IndexOf(std::wstring_view componentName) const;
};

// Reads a description from its XML text. Throws EReadError when the text is
// not a well-formed description.
WindowDescription ParseWindowDescription(std::string_view xml);
