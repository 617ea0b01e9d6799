#include "toolkit/KeyCodes.h"

#include <Qt>

int VirtualKeyFromQt(int k, bool keypad) {
    if (k >= Qt::Key_A && k <= Qt::Key_Z) {
        return 'A' + (k - Qt::Key_A);
    }
    if (k >= Qt::Key_0 && k <= Qt::Key_9) {
        return keypad ? 96 + (k - Qt::Key_0) : '0' + (k - Qt::Key_0);
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) {
        return VK::F1 + (k - Qt::Key_F1);
    }
    switch (k) {
        case Qt::Key_Backspace:
            return VK::Back;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VK::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VK::Return;
        case Qt::Key_Shift:
            return VK::Shift;
        case Qt::Key_Control:
            return VK::Control;
        case Qt::Key_Alt:
            return VK::Menu;
        case Qt::Key_Pause:
            return VK::Pause;
        case Qt::Key_CapsLock:
            return VK::Capital;
        case Qt::Key_Escape:
            return VK::Escape;
        case Qt::Key_Space:
            return VK::Space;
        case Qt::Key_PageUp:
            return VK::Prior;
        case Qt::Key_PageDown:
            return VK::Next;
        case Qt::Key_End:
            return VK::End;
        case Qt::Key_Home:
            return VK::Home;
        case Qt::Key_Left:
            return VK::Left;
        case Qt::Key_Up:
            return VK::Up;
        case Qt::Key_Right:
            return VK::Right;
        case Qt::Key_Down:
            return VK::Down;
        case Qt::Key_Insert:
            return VK::Insert;
        case Qt::Key_Delete:
            return VK::Delete;
        case Qt::Key_Asterisk:
            return keypad ? 106 : 0;
        case Qt::Key_Plus:
            return keypad ? 107 : 187;
        case Qt::Key_Minus:
            return keypad ? 109 : 189;
        case Qt::Key_Period:
            return keypad ? 110 : 190;
        case Qt::Key_Slash:
            return keypad ? 111 : 191;
        case Qt::Key_Comma:
            return 188;
        case Qt::Key_Semicolon:
            return 186;
        case Qt::Key_Equal:
            return 187;
        default:
            return 0;
    }
}
