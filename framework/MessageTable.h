// Message tables: how a window class says which of its member functions
// handle which messages.
//
// Each window class that handles messages declares one static table and
// lists its handlers there, by message, by command (control id and
// notification code) or by notification (code and control id):
//
//     class CDlgSearchPannel : public CDialog {
//         DECLARE_MESSAGE_TABLE()
//         void OnPaint();
//         void OnBrowseFolder();
//         void OnDateChanged(Message& m);
//     };
//
//     BEGIN_MESSAGE_TABLE(CDlgSearchPannel, CDialog)
//         OnMessage<&CDlgSearchPannel::OnPaint>(WM_PAINT),
//         OnCommand<&CDlgSearchPannel::OnBrowseFolder>(226, BN_CLICKED),
//         OnNotify<&CDlgSearchPannel::OnDateChanged>(DTN_DATETIMECHANGE, 525),
//     END_MESSAGE_TABLE()
//
// A message is looked up in the class's own table first, then in its base
// class's table and so on; the first handler that leaves `handled` set
// answers it. A message no table handles goes to the default procedure.
//
// Handlers are member functions of the table's class, in one of three forms:
//     void F()                      handled, result 0
//     void F(Message& m)            reads the message, may set m.result, or
//                                   clear m.handled to let the search go on
//     LRESULT F(WPARAM, LPARAM)     handled, result = the return value
#pragma once

#include <windows.h>

#include <initializer_list>
#include <type_traits>
#include <vector>

class CWnd;

// One message as a handler sees it.
struct Message {
    UINT id = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool handled = true;

    // WM_COMMAND's parts.
    UINT CommandId() const { return LOWORD(wParam); }
    UINT CommandCode() const { return HIWORD(wParam); }
    HWND Control() const { return reinterpret_cast<HWND>(lParam); }
    // WM_NOTIFY's header.
    NMHDR* Notify() const { return reinterpret_cast<NMHDR*>(lParam); }
    template <class T>
    T* NotifyAs() const { return reinterpret_cast<T*>(lParam); }
};

// Messages a parent hands to a child control's own object are seen there
// under WM_REFLECT_BASE + the original message id (see CWnd's reflection).
const UINT WM_REFLECT_BASE = 0x2000;
constexpr UINT Reflected(UINT message) { return WM_REFLECT_BASE + message; }

using MessageHandler = void (*)(CWnd* window, Message& m);

struct MessageEntry {
    enum Kind { ByMessage, ByCommand, ByNotify } kind;
    UINT first, last;  // ByMessage: message range; otherwise control id range
    UINT code;         // ByCommand / ByNotify: notification code, or kAnyCode
    MessageHandler handler;

    static const UINT kAnyCode = 0xFFFFFFFFu;
    bool Matches(const Message& m) const;
};

class MessageTable {
public:
    MessageTable(const MessageTable* base, std::initializer_list<MessageEntry> entries)
        : m_base(base), m_entries(entries)
    {
    }
    const MessageTable* Base() const { return m_base; }
    const std::vector<MessageEntry>& Entries() const { return m_entries; }

    // Offers m to the matching handlers of this table and its bases in
    // order; true when one handled it.
    bool Dispatch(CWnd* window, Message& m) const;

private:
    const MessageTable* m_base;
    std::vector<MessageEntry> m_entries;
};

namespace message_table_detail {

template <class F>
struct MemberOf;
template <class C, class R, class... A>
struct MemberOf<R (C::*)(A...)> {
    using Class = C;
};

template <auto F>
void Invoke(CWnd* window, Message& m)
{
    using T = typename MemberOf<decltype(F)>::Class;
    T* self = static_cast<T*>(window);
    if constexpr (std::is_invocable_v<decltype(F), T*, Message&>) {
        (self->*F)(m);
    } else if constexpr (std::is_invocable_v<decltype(F), T*, WPARAM, LPARAM>) {
        m.result = (self->*F)(m.wParam, m.lParam);
    } else {
        static_assert(std::is_invocable_v<decltype(F), T*>, "handler: F(), F(Message&) or F(WPARAM, LPARAM)");
        (self->*F)();
    }
}

}  // namespace message_table_detail

// A handler for one message, or for the messages first..last.
template <auto F>
MessageEntry OnMessage(UINT message)
{
    return {MessageEntry::ByMessage, message, message, 0, &message_table_detail::Invoke<F>};
}
template <auto F>
MessageEntry OnMessages(UINT first, UINT last)
{
    return {MessageEntry::ByMessage, first, last, 0, &message_table_detail::Invoke<F>};
}
// A WM_COMMAND from control (or menu item) id with a notification code
// (BN_CLICKED = 0 is also what menus and accelerators send); kAnyCode for
// every code.
template <auto F>
MessageEntry OnCommand(UINT id, UINT code = MessageEntry::kAnyCode)
{
    return {MessageEntry::ByCommand, id, id, code, &message_table_detail::Invoke<F>};
}
template <auto F>
MessageEntry OnCommandRange(UINT firstId, UINT lastId, UINT code = MessageEntry::kAnyCode)
{
    return {MessageEntry::ByCommand, firstId, lastId, code, &message_table_detail::Invoke<F>};
}
// A WM_NOTIFY with a notification code from control id.
template <auto F>
MessageEntry OnNotify(UINT code, UINT id)
{
    return {MessageEntry::ByNotify, id, id, code, &message_table_detail::Invoke<F>};
}
// The same notification from any control.
template <auto F>
MessageEntry OnNotifyAnyControl(UINT code)
{
    return {MessageEntry::ByNotify, 0, 0xFFFFFFFFu, code, &message_table_detail::Invoke<F>};
}

// In the class: declares the table and hands it to the dispatcher.
#define DECLARE_MESSAGE_TABLE()                                                \
public:                                                                        \
    static const MessageTable& Table();                                        \
    const MessageTable& GetMessageTable() const override { return Table(); }  \
                                                                               \
protected:

// In the source file: the table of Class, whose base class is Base.
#define BEGIN_MESSAGE_TABLE(Class, Base)                 \
    const MessageTable& Class::Table()                   \
    {                                                    \
        static const MessageTable table(&Base::Table(), {
#define END_MESSAGE_TABLE() \
        });                 \
        return table;       \
    }
