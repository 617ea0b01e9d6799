#include "toolkit/ZafEvent.h"

#include "toolkit/KeyCodes.h"

ZafEventStruct ZafEventStruct::rawKeyDown(int virtualKey, QObject* to) {
    ZafEventStruct e(E_OSEVENT, nullptr, to);
    e.message = WinMsg::KeyDown;
    e.key = virtualKey;
    return e;
}

int ZafEventStruct::InputType() const {
    if (!isRaw()) {
        return 0;
    }
    switch (message) {
        case WinMsg::KeyDown:
        case WinMsg::KeyUp:
        case WinMsg::SysKeyDown:
        case WinMsg::SysKeyUp:
            return E_KEY;
        default:
            break;
    }
    if ((message >= WinMsg::MouseFirst && message <= WinMsg::MouseLast) ||
        (message >= WinMsg::NcMouseFirst && message <= WinMsg::NcMouseLast)) {
        return E_MOUSE;
    }
    return 0;
}

ZafEventType LogicalEvent(const ZafEventStruct& event) {
    if (!event.isRawKeyDown()) {
        return event.type;
    }
    switch (event.key) {
        case VK::Return:
            return L_SELECT;
        case VK::Up:
        case VK::Left:
            return L_PREVIOUS;
        case VK::Down:
        case VK::Right:
            return L_NEXT;
        default:
            return event.type;
    }
}
