// Keyboard entry on the sheet and the top-up page: Enter or Down walks a chain of boxes,
// Enter on a calculate button calculates, and a click into an amount box empties it. One
// handler each, bound to every unit that behaves so; the event source tells them apart.
#include "toolbox/event_handlers.h"
#include "toolbox/keyboard_chain.h"
#include "toolbox/rt.h"

using namespace rt;
using namespace units;

namespace {

constexpr int32_t kEnter = 13;
constexpr int32_t kDown = 40;

struct ClickOnEnterButton {
    Unit<Button> button;
    void (*click)();
};
constexpr ClickOnEnterButton kCalculateButtons[] = {{计算, &CalculateInventory}, {计算按钮, &CalculateTopUp}};

}  // namespace

// The box entered is emptied, not the box left: walking a filled column with Enter clears
// each following entry as the cursor reaches it, ready for a fresh count. The modifiers are
// not looked at, so Shift+Enter and Ctrl+Down advance too.
void AdvanceOnEnter(int32_t key, int32_t /*modifiers*/) {
    if (key != kEnter && key != kDown) return;
    const ChainLink* link = SuccessorOf(EventSource());
    if (!link) return;
    SetFocus(link->to);
    if (Is<EditBox>(link->to)) Set(As<EditBox>(link->to), EditBox::Content, "");
}

// Down and every other key do nothing on the buttons.
void ClickOnEnter(int32_t key, int32_t /*modifiers*/) {
    if (key != kEnter) return;
    AnyUnit source = EventSource();
    for (const ClickOnEnterButton& b : kCalculateButtons)
        if (b.button == source) b.click();
}

// Every click, not only the first: the hint goes, and so does an amount typed before.
void EmptyBoxOnClick(int32_t, int32_t, int32_t) {
    AnyUnit source = EventSource();
    if (Is<EditBox>(source)) Set(As<EditBox>(source), EditBox::Content, "");
}
