#pragma once
// Qt key codes to Windows virtual-key codes.
namespace VK {
inline constexpr int Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18;
inline constexpr int Pause = 19, Capital = 20, Escape = 27, Space = 32, Prior = 33, Next = 34;
inline constexpr int End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40;
inline constexpr int Insert = 45, Delete = 46;
inline constexpr int F1 = 112, F5 = 116, F6 = 117, F7 = 118, F8 = 119, F9 = 120, F12 = 123;
}  // namespace VK

// The virtual-key code of a Qt key (with its keypad flag), or 0 when it has none.
int VirtualKeyFromQt(int qtKey, bool keypad = false);
