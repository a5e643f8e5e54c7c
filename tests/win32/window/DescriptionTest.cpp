#include "EReadError.h"
#include "WindowDescription.h"

#include <gtest/gtest.h>

namespace {

const char kDescription[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
<class>TFORMX</class>
<widget class="QWidget" name="FormX">
 <property name="geometry"><rect><x>0</x><y>0</y><width>200</width><height>100</height></rect></property>
 <property name="windowTitle"><string>題 &amp; 名</string></property>
 <property name="font"><font><family>ＭＳ Ｐゴシック</family><pointsize>9</pointsize></font></property>
 <property name="Charset" stdset="0"><string>SHIFTJIS_CHARSET</string></property>
 <property name="Left" stdset="0"><number>10</number></property>
 <property name="Top" stdset="0"><number>-20</number></property>
 <widget class="QGroupBox" name="GroupBox1">
  <property name="geometry"><rect><x>1</x><y>2</y><width>3</width><height>4</height></rect></property>
  <property name="title"><string>組</string></property>
  <widget class="QLineEdit" name="Edit1">
   <property name="geometry"><rect><x>5</x><y>6</y><width>7</width><height>8</height></rect></property>
   <property name="maxLength"><number>2147483647</number></property>
   <property name="font"><font><bold>true</bold></font></property>
   <property name="text"><string>Edit1</string></property>
  </widget>
 </widget>
 <widget class="QPushButton" name="Button1">
  <property name="geometry"><rect><x>9</x><y>10</y><width>11</width><height>12</height></rect></property>
  <property name="text"><string>押す</string></property>
  <property name="toolTip"><string>ヒント</string></property>
 </widget>
</widget>
<tabstops><tabstop>Button1</tabstop><tabstop>Edit1</tabstop></tabstops>
</ui>
)";

} // namespace

TEST(WindowDescription, ReadsWindowComponentsAndTabOrder)
{
    const WindowDescription window = ParseWindowDescription(kDescription);
    EXPECT_EQ(window.className, L"TFORMX");
    EXPECT_EQ(window.name, L"FormX");
    EXPECT_EQ(window.caption, L"題 & 名");
    EXPECT_EQ(window.fontFamily, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(window.fontPointSize, 9);
    EXPECT_EQ(window.charset, L"SHIFTJIS_CHARSET");
    EXPECT_EQ(window.left, 10);
    EXPECT_EQ(window.top, -20);
    EXPECT_EQ(window.clientWidth, 200);
    EXPECT_EQ(window.clientHeight, 100);

    ASSERT_EQ(window.components.size(), 3u);
    const ComponentDescription &group = window.components[0];
    const ComponentDescription &edit = window.components[1];
    const ComponentDescription &button = window.components[2];
    EXPECT_EQ(group.className, L"QGroupBox");
    EXPECT_EQ(group.text, L"組");
    EXPECT_EQ(group.parent, -1);
    EXPECT_EQ(edit.name, L"Edit1");
    EXPECT_EQ(edit.parent, 0);
    EXPECT_EQ((std::vector<int>{edit.left, edit.top, edit.width, edit.height}),
              (std::vector<int>{5, 6, 7, 8}));
    EXPECT_TRUE(edit.bold);
    EXPECT_EQ(edit.maxLength, 2147483647);
    EXPECT_EQ(edit.text, L"Edit1");
    EXPECT_TRUE(edit.toolTip.empty());
    EXPECT_EQ(button.parent, -1);
    EXPECT_FALSE(button.bold);
    EXPECT_EQ(button.text, L"押す");
    EXPECT_EQ(button.toolTip, L"ヒント");
    EXPECT_EQ(window.tabStops, (std::vector<std::wstring>{L"Button1", L"Edit1"}));
}

TEST(WindowDescription, RefusesWhatIsNoDescription)
{
    const std::string good = kDescription;
    auto replaced = [&](const std::string &what, const std::string &with) {
        std::string text = good;
        text.replace(text.find(what), what.size(), with);
        return text;
    };
    const std::string bad[] = {
        "",
        "not XML at all",
        good.substr(0, good.size() / 2),                                  // cut short
        replaced("<tabstop>Edit1</tabstop>", "<tabstop>Edit2</tabstop>"), // unknown stop
        replaced("<width>7</width>", "<width>seven</width>"),             // not a number
        replaced("<ui version=\"4.0\">", "<form>"), // not a window description
    };
    for (const std::string &text : bad)
        EXPECT_THROW(ParseWindowDescription(text), EReadError) << text.substr(0, 60);
}
