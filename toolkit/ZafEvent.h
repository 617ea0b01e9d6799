#pragma once
// Events of the window toolkit: numbered application events, the toolkit's own codes, and raw
// input messages that carry Windows message numbers and virtual-key codes, so that hot-key
// tables written for Windows work unchanged.
#include <QObject>
#include <QPointer>

using ZafEventType = int;

// Toolkit codes.
inline constexpr ZafEventType S_CLOSE = -11;           // close the receiving window
inline constexpr ZafEventType S_CONTINUE = -3;         // dialog result: keep running
inline constexpr ZafEventType S_NO_WINDOW = -3;        // window manager result: no window left
inline constexpr ZafEventType S_UNKNOWN = -2;          // not consumed / ignored
inline constexpr ZafEventType S_EXIT = -32;            // ends the event loop
inline constexpr ZafEventType S_DIALOG_OK = -2999;     // a dialog ended with OK
inline constexpr ZafEventType S_SYSTEM_FIRST = -2999;  // toolkit system range
inline constexpr ZafEventType S_SYSTEM_LAST = -2000;
inline constexpr ZafEventType S_FILE_DIALOG_CANCEL = -2998;
inline constexpr ZafEventType N_NONE = 0;

// Logical events of objects.
inline constexpr ZafEventType L_SELECT = 1002;        // a field was confirmed (Enter)
inline constexpr ZafEventType L_MOUSE_SELECT = 1003;  // mouse selection
inline constexpr ZafEventType L_MOUSE_SELECT_2 = 1006;
inline constexpr ZafEventType L_PREVIOUS = 1054;  // move inside a group
inline constexpr ZafEventType L_NEXT = 1055;
inline constexpr ZafEventType S_CURRENT = -3509;  // became the current object
inline constexpr ZafEventType S_CURRENT_2 = -3502;
inline constexpr ZafEventType S_NON_CURRENT = -3510;  // stopped being the current object
inline constexpr ZafEventType S_NON_CURRENT_2 = -3503;

// Input types.
inline constexpr int E_KEY = 10;
inline constexpr int E_MOUSE = 30;

// Mouse device states.
inline constexpr ZafEventType DM_WAIT = -3202;
inline constexpr ZafEventType DM_VIEW = -3200;

// The type of a raw input or system message; its Windows message number is in `message`.
inline constexpr ZafEventType E_OSEVENT = 4000;

// Windows message numbers used for raw events.
namespace WinMsg {
inline constexpr int KeyDown = 0x0100;
inline constexpr int KeyUp = 0x0101;
inline constexpr int SysKeyDown = 0x0104;
inline constexpr int SysKeyUp = 0x0105;
inline constexpr int Timer = 0x0113;
inline constexpr int NcMouseFirst = 0x00A0;
inline constexpr int NcMouseLast = 0x00AD;
inline constexpr int MouseFirst = 0x0200;
inline constexpr int MouseMove = 0x0200;
inline constexpr int LButtonDown = 0x0201;
inline constexpr int LButtonUp = 0x0202;
inline constexpr int MouseLast = 0x020E;
}  // namespace WinMsg

struct ZafEventStruct {
    ZafEventType type = N_NONE;
    int message = 0;           // Windows message number of a raw event
    int key = 0;               // virtual-key code of a raw key event
    QPointer<QObject> source;  // the object that sent the event, if any
    QPointer<QObject> target;  // the object whose window must receive it, if any
    bool targeted = false;     // a target was given (it may have been destroyed since)

    ZafEventStruct() = default;
    explicit ZafEventStruct(ZafEventType t, QObject* from = nullptr, QObject* to = nullptr)
        : type(t), source(from), target(to), targeted(to != nullptr) {}

    static ZafEventStruct rawKeyDown(int virtualKey, QObject* to = nullptr);

    bool isRaw() const { return type == E_OSEVENT; }
    bool isRawKeyDown() const {
        return isRaw() && (message == WinMsg::KeyDown || message == WinMsg::SysKeyDown);
    }
    // E_KEY for keyboard messages, E_MOUSE for client and non-client mouse messages, else 0.
    int InputType() const;
};

// Translates a raw event into the logical code objects react to; other events keep their type.
ZafEventType LogicalEvent(const ZafEventStruct& event);

// Anything that takes toolkit events: windows, and objects with their own handling.
class ZafEventHandler {
public:
    virtual ~ZafEventHandler() = default;
    virtual ZafEventType Event(const ZafEventStruct& event) = 0;
};
