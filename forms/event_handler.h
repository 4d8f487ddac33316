// The tools' event code: a table of handler entries whose start is the event-code base.
// A handler offset in the window template is a byte offset into this table, so offset 0
// names the first handler and 0xFFFFFFFF names none. The form compiler writes the table
// and the offsets together from the form source, so the two cannot drift apart.
// Portable: no Windows header.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

#include "runtime/value.h"

constexpr uint32_t kNoHandlerOffset = 0xFFFFFFFF;

// One handler. Entries are 16 bytes in every build, so the offsets in the template image
// are the same for the 32-bit and the 64-bit program.
struct alignas(16) EventHandlerEntry {
    // Calls the handler with the event's arguments (in order). Returns true when the
    // handler declares a result, which is then stored in *result.
    bool (*invoke)(const ArgValue* args, int count, int64_t* result);
    const char* name;
};
static_assert(sizeof(EventHandlerEntry) == 16, "handler offsets assume 16-byte entries");

constexpr uint32_t HandlerOffsetOf(uint32_t index) { return index * sizeof(EventHandlerEntry); }

namespace event_handler_detail {

template <typename T>
T ArgumentAs(const ArgValue* args, int count, int i) {
    if (i >= count) return T{};
    if constexpr (std::is_floating_point_v<T>)
        return static_cast<T>(args[i].Double());
    else if constexpr (sizeof(T) == 8)
        return static_cast<T>(args[i].Long());
    else
        return static_cast<T>(args[i].Int());
}

template <typename Fn>
struct Invoker;

template <typename R, typename... P>
struct Invoker<R (*)(P...)> {
    template <auto F, size_t... I>
    static bool Call(const ArgValue* args, int count, int64_t* result, std::index_sequence<I...>) {
        if constexpr (std::is_void_v<R>) {
            F(ArgumentAs<P>(args, count, static_cast<int>(I))...);
            return false;
        } else {
            *result = static_cast<int64_t>(F(ArgumentAs<P>(args, count, static_cast<int>(I))...));
            return true;
        }
    }
};

}  // namespace event_handler_detail

// Adapts a typed handler, such as void OnKeyDown(int32_t key, int32_t modifiers) or
// bool OnPageChanging(int32_t page), to the table's calling form.
template <auto F>
bool InvokeEventHandler(const ArgValue* args, int count, int64_t* result) {
    using Fn = decltype(F);
    using Inv = event_handler_detail::Invoker<Fn>;
    constexpr size_t n = []<typename R, typename... P>(R (*)(P...)) { return sizeof...(P); }(F);
    return Inv::template Call<F>(args, count, result, std::make_index_sequence<n>{});
}

#define MG_EVENT_HANDLER(fn) EventHandlerEntry{&InvokeEventHandler<&fn>, #fn}

// Whether a handler (a pointer to it) takes exactly the parameters of an event, given as the
// event's function type void(Args...). Its result is free: none, an integer or a switch.
template <class Handler, class Event>
constexpr bool kHandlerTakes = false;
template <class R, class... Params, class... Args>
constexpr bool kHandlerTakes<R (*)(Params...), void(Args...)> =
    std::is_same_v<void(Params...), void(Args...)> && (std::is_void_v<R> || std::is_integral_v<R>);
