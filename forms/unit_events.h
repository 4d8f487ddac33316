// Events described like properties: each once, in its unit type's description, with its
// number, its name and the parameters a handler of it declares.
//
//   #define MG_BUTTON_EVENTS(E) E(0, Click, ())
//   struct ButtonData { ... MG_DESCRIBED_EVENTS(MG_BUTTON_EVENTS) };
//
// gives ButtonData::Click, the constant code raises the event by (unit.Raise(ButtonData::Click)),
// so that no event number is written twice and the arguments are checked as it is raised,
// and ButtonData::kEvents, from which the form compiler binds handlers by name and checks
// each against the parameters. The events every window unit raises are CommonEvents below.
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <iterator>
#include <span>
#include <type_traits>

struct EventDescription {
    int32_t number = 0;
    const char* name = nullptr;        // null ends a list
    const char* parameters = nullptr;  // as a handler declares them: "(int32_t key, int32_t modifiers)"
    uint8_t argCount = 0;              // every argument is a 32-bit integer
};

template <class Signature>
struct UnitEvent;

// An event whose handlers take Args. The tools' handlers take plain 32-bit integers, as the
// runtime passes every argument of this system's events.
template <class... Args>
struct UnitEvent<void(Args...)> {
    static_assert((std::is_same_v<Args, int32_t> && ...), "event arguments are 32-bit integers");
    int32_t number;
    const char* name;
    const char* parameters;

    constexpr EventDescription Description() const {
        return {number, name, parameters, static_cast<uint8_t>(sizeof...(Args))};
    }
};

#define MG_EVENT_CONSTANT(number, name, parameters) \
    static constexpr UnitEvent<void parameters> name{number, #name, #parameters};
#define MG_EVENT_DESCRIPTION(number, name, parameters) name.Description(),

// In a type's description: one constant per event, then kEvents, the list of them.
#define MG_DESCRIBED_EVENTS(LIST) \
    LIST(MG_EVENT_CONSTANT)       \
    static constexpr EventDescription kEvents[] = {LIST(MG_EVENT_DESCRIPTION) EventDescription{}};

// The events of every window unit and of the window itself, raised from the window's
// message pre-processing (-1 to -6, -9 to -12) and when the focus moves (-7, -8). The
// modifiers are 1 Ctrl, 2 Shift, 4 Alt; a key is a virtual-key code with the keypad folded
// onto the main keyboard.
#define MG_COMMON_EVENTS(E)                                                 \
    E(-1, MouseDown, (int32_t x, int32_t y, int32_t modifiers))             \
    E(-2, MouseUp, (int32_t x, int32_t y, int32_t modifiers))               \
    E(-3, DoubleClick, (int32_t x, int32_t y, int32_t modifiers))           \
    E(-4, RightMouseDown, (int32_t x, int32_t y, int32_t modifiers))        \
    E(-5, RightMouseUp, (int32_t x, int32_t y, int32_t modifiers))          \
    E(-6, MouseMove, (int32_t x, int32_t y, int32_t modifiers))             \
    E(-7, GotFocus, ())                                                     \
    E(-8, LostFocus, ())                                                    \
    E(-9, KeyDown, (int32_t key, int32_t modifiers))                        \
    E(-10, KeyUp, (int32_t key, int32_t modifiers))                         \
    E(-11, Char, (int32_t character))                                       \
    E(-12, MouseWheel, (int32_t steps, int32_t modifiers))

struct CommonEvents {
    MG_DESCRIBED_EVENTS(MG_COMMON_EVENTS)
};

// A type's own events (none when its description lists none), without the end marker.
template <class Data>
constexpr std::span<const EventDescription> OwnEvents() {
    if constexpr (requires { Data::kEvents; })
        return {Data::kEvents, std::size(Data::kEvents) - 1};
    else
        return {};
}

// The event of a type by name, its own or a common one; null when it has none of that name.
inline const EventDescription* FindEvent(std::span<const EventDescription> own, bool common, const char* name) {
    auto same = [](const char* a, const char* b) {
        while (*a && *a == *b) ++a, ++b;
        return *a == *b;
    };
    for (const EventDescription& e : own)
        if (same(e.name, name)) return &e;
    if (common)
        for (const EventDescription& e : OwnEvents<CommonEvents>())
            if (same(e.name, name)) return &e;
    return nullptr;
}
