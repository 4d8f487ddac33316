// Text from an input method in edit boxes that filter their characters: the messages an
// input method and the default window procedure send (WM_IME_CHAR sent and posted, in
// UTF-16 and as a double-byte character on the ANSI side, a composition in progress and a
// finished one whose result string the box reads from its input context), on real edit
// boxes, with the box text read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include <string>

#include "controls/unit_types.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/edit_box_data.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kIntegerText = 0x16010002, kInteger = 0x16010003, kDouble = 0x16010004, kNormal = 0x16010005;

// What an input method in full-width mode typically hands over: full-width digits, a
// Chinese character, ASCII digits, sign, point and a letter.
const wchar_t kImeText[] = L"１2一-3.a５";

struct Box {
    uint32_t id;
    uint32_t mode;
    const char* kept;  // the box text afterwards, GBK
};
const Box kBoxes[] = {
    {kIntegerText, 3, "2-3"},
    {kInteger, 7, "2-3"},
    {kDouble, 10, "2-3."},
    {kNormal, 0, "１2一-3.a５"},
};

void Load() {
    std::vector<UnitRecord> units = {WindowRecord(PlainWindowData())};
    int top = 10;
    for (const Box& b : kBoxes) {
        EditBoxData d;
        d.inputMode = b.mode;
        units.push_back(Unit(b.id, kTypeEditBox, 10, top, 160, 22, EditBoxData::Write(d)));
        top += 30;
    }
    StartRuntime(ImageBytes(OneWindow(std::move(units))));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    SetForegroundWindow(FormHandle());
    Pump(50);
}

void Focus(uint32_t unit) {
    SetForegroundWindow(FormHandle());
    SetFocus(UnitHandle(unit));
    Pump(20);
}

// Runs `deliver` on the focused box for every box and compares the texts.
void ExpectKept(const char* how, void (*deliver)(HWND)) {
    for (const Box& b : kBoxes) {
        WriteText(b.id, rt::EditBox::Content, "");
        Focus(b.id);
        deliver(UnitHandle(b.id));
        ASSERT_TRUE(SettlePosted());
        EXPECT_EQ(ReadText(b.id, rt::EditBox::Content), b.kept) << how << ", input mode " << b.mode;
    }
}

}  // namespace

TEST(ImeInput, CharactersOfAnInputMethodMeetTheFilterSentOrPosted) {
    Load();
    ExpectKept("sent", [](HWND h) {
        for (const wchar_t* p = kImeText; *p; ++p) SendMessageW(h, WM_IME_CHAR, *p, 1);
    });
    ExpectKept("posted", [](HWND h) {
        for (const wchar_t* p = kImeText; *p; ++p) PostMessageW(h, WM_IME_CHAR, *p, 1);
    });
}

TEST(ImeInput, DoubleByteCharactersOnTheAnsiSideMeetTheFilter) {
    Load();
    // "１", "一" and "2" as an ANSI input method hands them over: lead byte high, trail low.
    for (uint32_t id : {kIntegerText, kInteger, kDouble}) {
        WriteText(id, rt::EditBox::Content, "");
        Focus(id);
        HWND h = UnitHandle(id);
        for (WPARAM dbcs : {WPARAM{0xA3B1}, WPARAM{0xD2BB}, WPARAM{'2'}}) SendMessageA(h, WM_IME_CHAR, dbcs, 1);
        ASSERT_TRUE(SettlePosted());
        EXPECT_EQ(ReadText(id, rt::EditBox::Content), "2") << "unit 0x" << std::hex << id;
    }
}

TEST(ImeInput, AFinishedCompositionMeetsTheFilter) {
    Load();
    // The input method's own course: a composition string, then its completion, which
    // turns it into the result string and sends WM_IME_COMPOSITION with GCS_RESULTSTR.
    ExpectKept("composition completed", [](HWND h) {
        HIMC context = ImmGetContext(h);
        ASSERT_NE(context, nullptr);
        DWORD bytes = static_cast<DWORD>(wcslen(kImeText) * sizeof(wchar_t));
        EXPECT_TRUE(ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(kImeText), bytes, nullptr, 0));
        EXPECT_TRUE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
        ImmReleaseContext(h, context);
    });
}

TEST(ImeInput, ACompositionInProgressPutsNothingIntoAFilteredBox) {
    Load();
    // An edit control may show the composition inside its text; a filtered box must not,
    // and nothing may stay behind when the focus leaves before the composition ends.
    for (uint32_t id : {kIntegerText, kInteger, kDouble}) {
        WriteText(id, rt::EditBox::Content, "7");
        SendMessageW(UnitHandle(id), EM_SETSEL, 1, 1);
        Focus(id);
        HWND h = UnitHandle(id);
        HIMC context = ImmGetContext(h);
        ASSERT_NE(context, nullptr);
        DWORD bytes = static_cast<DWORD>(wcslen(kImeText) * sizeof(wchar_t));
        EXPECT_TRUE(ImmSetCompositionStringW(context, SCS_SETSTR, const_cast<wchar_t*>(kImeText), bytes, nullptr, 0));
        ImmReleaseContext(h, context);
        // Whatever the input method posted for the composition is handled before the check.
        ASSERT_TRUE(SettlePosted());
        EXPECT_EQ(ReadText(id, rt::EditBox::Content), "7") << "while composing, unit 0x" << std::hex << id;
        Focus(kNormal);
        ASSERT_TRUE(SettlePosted());
        EXPECT_EQ(ReadText(id, rt::EditBox::Content), "7") << "after the focus left, unit 0x" << std::hex << id;
    }
}
