// Behaviour of the core unit types that the properties reach: edit box styles, colours and
// spin buttons, the window's frame, position and background, cursors, the combo box's
// edit field, and property access by unit object (services 4 and 5).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "controls/support_libraries.h"
#include "controls/unit_types.h"
#include "forms/forms_runtime.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/window_data.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "forms/window_loader.h"
#include "runtime/app.h"
#include "runtime/entries.h"
#include "tests/win/forms/form_fixture.h"

namespace {

constexpr uint32_t kEdit = 0x16010002, kSpinEdit = 0x16010003, kCombo = 0x16010004;
constexpr uint32_t kOtherWindowId = 0x52010002;

void LoadEdits() {
    EditBoxData plain;
    plain.textColour = 0x000000FF;
    plain.backgroundColour = 0x0000FF00;
    plain.inputMode = EditBoxData::kPassword;
    plain.caseConversion = 2;
    plain.maxLength = 3;
    EditBoxData spin;
    spin.spinMode = 1;
    spin.spinMin = -5;
    spin.spinMax = 50;
    spin.content = "7";
    ComboBoxData combo;
    combo.items = {"a", "b"};
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), Unit(kEdit, kTypeEditBox, 10, 10, 100, 22, EditBoxData::Write(plain)),
                                       Unit(kSpinEdit, kTypeEditBox, 10, 40, 60, 22, EditBoxData::Write(spin)),
                                       Unit(kCombo, kTypeComboBox, 10, 80, 100, 22, ComboBoxData::Write(combo))})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    Pump(30);
}

HWND SpinOf(HWND edit) {
    for (HWND h = GetWindow(GetParent(edit), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        WCHAR cls[32];
        GetClassNameW(h, cls, 32);
        if (wcscmp(cls, UPDOWN_CLASSW) == 0 && reinterpret_cast<HWND>(SendMessageW(h, UDM_GETBUDDY, 0, 0)) == edit) return h;
    }
    return nullptr;
}

void CALLBACK CloseSecondWindow(HWND, UINT, UINT_PTR id, DWORD);
bool g_firstWasDisabled = false;

}  // namespace

TEST(UnitTypes, EditBoxStylesAndColoursFollowTheTypeData) {
    LoadEdits();
    HWND edit = UnitHandle(kEdit);
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), L'*');
    EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_UPPERCASE);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);
    HDC dc = GetDC(edit);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(edit), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                                       reinterpret_cast<LPARAM>(edit)));
    EXPECT_EQ(GetTextColor(dc), 0x000000FFu);
    EXPECT_EQ(GetBkColor(dc), 0x0000FF00u);
    LOGBRUSH lb = {};
    GetObjectW(brush, sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, 0x0000FF00u);
    ReleaseDC(edit, dc);
    // Leaving the password mode needs a new window; the password character goes with it.
    WriteInt(kEdit, rt::EditBox::InputMode, 0);
    EXPECT_NE(UnitHandle(kEdit), edit);
    EXPECT_EQ(SendMessageW(UnitHandle(kEdit), EM_GETPASSWORDCHAR, 0, 0), 0);
    WriteInt(kEdit, rt::EditBox::MaxLength, 5);
    EXPECT_EQ(SendMessageW(UnitHandle(kEdit), EM_GETLIMITTEXT, 0, 0), 5);
}

TEST(UnitTypes, SpinButtonsSitBesideTheEditAndFollowIt) {
    LoadEdits();
    HWND edit = UnitHandle(kSpinEdit);
    HWND spin = SpinOf(edit);
    ASSERT_NE(spin, nullptr);
    RECT e, s;
    GetWindowRect(edit, &e);
    GetWindowRect(spin, &s);
    EXPECT_EQ(s.left, e.right);
    EXPECT_EQ(s.top, e.top);
    EXPECT_EQ(e.right - e.left, 60) << "the edit keeps its width";
    EXPECT_TRUE(IsWindowVisible(spin));
    INT low = 0, high = 0;
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, -5);
    EXPECT_EQ(high, 50);
    WriteInt(kSpinEdit, rt::EditBox::SpinMaximum, 80);
    SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(high, 80);
    WriteInt(kSpinEdit, rt::EditBox::Visible, 0);
    EXPECT_FALSE(IsWindowVisible(spin));
    WriteInt(kSpinEdit, rt::EditBox::Left, 100);
    WriteInt(kSpinEdit, rt::EditBox::Visible, 1);
    GetWindowRect(UnitHandle(kSpinEdit), &e);
    GetWindowRect(spin, &s);
    EXPECT_TRUE(IsWindowVisible(spin));
    EXPECT_EQ(s.left, e.right);
    // Spin mode off: the rebuilt edit has none.
    WriteInt(kSpinEdit, rt::EditBox::SpinMode, 0);
    EXPECT_EQ(SpinOf(UnitHandle(kSpinEdit)), nullptr);
    EXPECT_FALSE(IsWindow(spin));
}

TEST(UnitTypes, TheComboBoxsEditFieldBelongsToTheComboBox) {
    LoadEdits();
    WindowEntry* entry = FindLoadedWindow(kTestWindowId);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(UnitHandle(kCombo), &info));
    int position = entry->FindPosition(kCombo);
    EXPECT_EQ(FindUnitByHandle(*entry, info.hwndItem, true), position);
    EXPECT_EQ(FindUnitByHandle(*entry, info.hwndItem, false), -1);
    EXPECT_EQ(FindUnitByHandle(*entry, UnitHandle(kCombo), false), position);
    EXPECT_EQ(FindUnitByHandle(*entry, FormHandle(), true), -1) << "the window's own record answers -1";
}

TEST(UnitTypes, PropertiesByUnitObjectUseTheSameConversions) {
    LoadEdits();
    void* object = FindUnitObject(kTestWindowId, kSpinEdit);
    const RtEntryTable& rt = RtEntries();
    auto text = reinterpret_cast<char*>(rt.otherHelp(kServiceReadObjectProperty, kTypeEditBox, reinterpret_cast<intptr_t>(object), 8, -1, 0, 0));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "7");
    rt.free(text);
    rt.otherHelp(kServiceWriteObjectProperty, kTypeEditBox, reinterpret_cast<intptr_t>(object), 2, -1, 40000, 0);
    EXPECT_EQ(ReadInt(kSpinEdit, rt::EditBox::Width), 32627);
    EXPECT_EQ(static_cast<int32_t>(rt.otherHelp(kServiceReadObjectProperty, kTypeEditBox, reinterpret_cast<intptr_t>(object), 22, -1, 0, 0)), -5);
    EXPECT_EQ(RtNotify(kNotifyTypeInfo, kTypeEditBox, 0), reinterpret_cast<intptr_t>(FindUnitType(kTypeEditBox)));
    EXPECT_STREQ(FindUnitType(kTypeEditBox)->englishName, "EditBox");
}

TEST(UnitTypes, RegistryKnowsEveryTypeWithItsPropertyCountAndFlags) {
    // Unit types are looked up in the running program's support libraries: these name all five.
    App().libraries = SupportLibraries();
    App().libraryCount = kSupportLibraryCount;
    struct Row {
        uint32_t code;
        const char* name;
        uint32_t properties;
        bool noFocus;
    };
    const Row rows[] = {
        {kTypeWindow, "window", 32, false},      {kTypeEditBox, "EditBox", 29, false}, {kTypeGroupBox, "GroupBox", 13, true},
        {kTypeLabel, "Label", 29, true},         {kTypeButton, "Button", 14, false},   {kTypeComboBox, "ComboBox", 25, false},
        {kTypeListBox, "ListBox", 22, false},    {kTypeTimer, "Timer", 9, true},       {kTypePageControl, "PageControl", 63, true},
        {kTypeStatusBar, "StatusBar", 14, true}, {kTypeListView, "ListView", 39, false}, {kTypeTransLabel, "TransLabel", 15, true},
    };
    for (const Row& r : rows) {
        const UnitTypeInfo* t = FindUnitType(r.code);
        ASSERT_NE(t, nullptr) << r.name;
        EXPECT_STREQ(t->englishName, r.name);
        EXPECT_EQ(t->propertyCount, r.properties) << r.name;
        EXPECT_EQ(t->Has(kTypeNoFocus), r.noFocus) << r.name;
        EXPECT_TRUE(t->Has(kTypeWindowUnit | kTypeRaisesEvents)) << r.name;
        EXPECT_EQ(t->Property(2)->type, PropertyType::kInteger) << r.name;
    }
    EXPECT_TRUE(FindUnitType(kTypeTimer)->Has(kTypeInvisible));
    EXPECT_TRUE(FindUnitType(kTypeComboBox)->Has(kTypeChildEdit));
    // Interface 9 hands over every text of the type data: content, items, font face.
    ComboBoxData combo;
    combo.content = "内容";
    combo.items = {"甲", "乙"};
    LogFontBytes font;
    font.SetFace("楷体");
    combo.font = EncodeFont(font);
    std::vector<uint8_t> data = ComboBoxData::Write(combo);
    std::vector<std::string> texts;
    auto enumerate = UnitOperation<EnumerateTextsFn>(FindUnitType(kTypeComboBox), kInterfaceEnumerateTexts);
    ASSERT_NE(enumerate, nullptr);
    enumerate(data.data(), static_cast<uint32_t>(data.size()),
              [](const char* text, void* context) { static_cast<std::vector<std::string>*>(context)->push_back(text); },
              &texts);
    EXPECT_EQ(texts, (std::vector<std::string>{"内容", "甲", "乙", "楷体"}));
    EXPECT_EQ(FindUnitType(0x00010002), nullptr);
    EXPECT_EQ(FindUnitType(0x00060001), nullptr);
    EXPECT_EQ(FindUnitType(0x00030006), nullptr);
}

TEST(UnitTypes, WindowPropertiesApplyToTheLiveWindow) {
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData("前", 0), 30, 40, 320, 200)})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    Pump(30);
    HWND form = FormHandle();
    WriteText(0, rt::Window::Caption, "后");
    WCHAR caption[8];
    GetWindowTextW(form, caption, 8);
    EXPECT_STREQ(caption, L"后");
    EXPECT_EQ(ReadText(0, rt::Window::Caption), "后");
    WriteInt(0, rt::Window::Position, 1);
    RECT r;
    GetWindowRect(form, &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 320) / 2);
    WriteInt(0, rt::Window::AlwaysOnTop, 1);
    EXPECT_TRUE(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
    WriteInt(0, rt::Window::AlwaysOnTop, 0);
    EXPECT_FALSE(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_TOPMOST);
    WriteInt(0, rt::Window::BorderStyle, 1);  // resizable
    EXPECT_TRUE(GetWindowLongW(form, GWL_STYLE) & WS_THICKFRAME);
    WriteInt(0, rt::Window::Movable, 0);
    HMENU menu = GetSystemMenu(form, FALSE);
    EXPECT_EQ(GetMenuState(menu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1)) << "no Move entry";
    WriteInt(0, rt::Window::Position, 2);
    EXPECT_TRUE(IsIconic(form));
    // The window's common properties are its screen rectangle.
    WriteInt(0, rt::Window::Position, 0);
    WriteInt(0, rt::Window::Left, 12);
    EXPECT_EQ(ReadInt(0, rt::Window::Left), 12);
}

TEST(UnitTypes, TheWindowPaintsItsBackgroundColour) {
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData(), 30, 40, 320, 200)})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    HWND form = FormHandle();
    SetWindowPos(form, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW);
    Pump(50);
    HDC dc = GetDC(form);
    EXPECT_EQ(GetPixel(dc, 20, 20), 0x00ECECECu);
    ReleaseDC(form, dc);
    WriteInt(0, rt::Window::BackgroundColour, 0x00123456);
    RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW);
    Pump(50);
    dc = GetDC(form);
    EXPECT_EQ(GetPixel(dc, 20, 20), 0x00123456u);
    ReleaseDC(form, dc);
}

TEST(UnitTypes, CursorsComeFromTheRecordAndGoWithTheWindow) {
    UnitRecord edit = Unit(kEdit, kTypeEditBox, 10, 10, 100, 22, EditBoxData::Write({}));
    edit.cursorData = {0x89, 0x7F, 0, 0};  // IDC_HAND
    StartRuntime(ImageBytes(OneWindow({WindowRecord(PlainWindowData()), edit})));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    WindowEntry* entry = FindLoadedWindow(kTestWindowId);
    EXPECT_EQ(entry->live[1].cursor, LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(entry->live[0].cursor, nullptr);
    EXPECT_EQ(UnitCursor(FindUnitObject(kTestWindowId, kEdit)), LoadCursorW(nullptr, IDC_HAND));
    DestroyWindow(FormHandle());
    EXPECT_TRUE(entry->live.empty());
    EXPECT_FALSE(entry->loaded);
}

TEST(UnitTypes, AModalWindowDisablesTheOthersUntilItCloses) {
    TemplateImage image = OneWindow({WindowRecord(PlainWindowData("一"))});
    WindowTemplate second;
    second.id = kOtherWindowId;
    second.records = {WindowRecord(PlainWindowData("二"), 100, 100, 200, 150)};
    image.windows.push_back(second);
    StartRuntime(ImageBytes(image));
    ASSERT_TRUE(LoadStartWindowById(kTestWindowId));
    SetTimer(nullptr, 0, 300, &CloseSecondWindow);
    ASSERT_TRUE(LoadWindow(*FindWindowEntry(kOtherWindowId), 0, true, nullptr));
    EXPECT_TRUE(g_firstWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(FormHandle()));
    EXPECT_EQ(FindLoadedWindow(kOtherWindowId), nullptr);
    EXPECT_NE(FindLoadedWindow(kTestWindowId), nullptr);
}

namespace {

void CALLBACK CloseSecondWindow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_firstWasDisabled = !IsWindowEnabled(FormHandle());
    UnitObject* second = FindUnitObject(kOtherWindowId, 0);
    // A modal window is owned by the runtime's owner window, out of the taskbar.
    if (second && GetWindow(second->hwnd(), GW_OWNER)) PostMessageW(second->hwnd(), WM_CLOSE, 0, 0);
}

}  // namespace
