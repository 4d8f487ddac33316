// Loading a window of about 100 units from a template, against creating the same windows
// directly with CreateWindowExW (same classes, styles, texts, fonts and items). Prints both
// times per window and their ratio.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "controls/support_libraries.h"
#include "controls/unit_types.h"
#include "forms/event_handler.h"
#include "forms/forms_runtime.h"
#include "forms/template_image.h"
#include "forms/type_data/button_data.h"
#include "forms/type_data/combo_box_data.h"
#include "forms/type_data/edit_box_data.h"
#include "forms/type_data/group_box_data.h"
#include "forms/type_data/label_data.h"
#include "forms/type_data/list_box_data.h"
#include "forms/units/timer_type.h"
#include "forms/type_data/window_data.h"
#include "forms/unit_object.h"
#include "forms/window_list.h"
#include "runtime/entries.h"
#include "runtime/program_descriptor.h"

namespace {

constexpr uint32_t kWindowId = 0x52010001;
constexpr int kRounds = 60;

bool NoHandler(const ArgValue*, int, int64_t*) { return false; }
const EventHandlerEntry kEventCode[] = {{&NoHandler, "NoHandler"}};

struct Spec {
    uint32_t type;
    int x, y, w, h;
};

// 100 units: 40 edit boxes, 30 labels, 15 buttons, 5 combo boxes, 5 list boxes, 2 group
// boxes (holding 4 labels each), 2 timers, 1 status bar.
std::vector<Spec> Layout() {
    std::vector<Spec> units;
    for (int i = 0; i < 40; ++i) units.push_back({kTypeEditBox, 80 + (i / 20) * 200, 10 + (i % 20) * 24, 60, 20});
    for (int i = 0; i < 30; ++i) units.push_back({kTypeLabel, 10 + (i / 20) * 200, 10 + (i % 20) * 24, 65, 20});
    for (int i = 0; i < 15; ++i) units.push_back({kTypeButton, 420 + (i / 8) * 80, 10 + (i % 8) * 30, 70, 24});
    for (int i = 0; i < 5; ++i) units.push_back({kTypeComboBox, 420, 260 + i * 26, 100, 20});
    for (int i = 0; i < 5; ++i) units.push_back({kTypeListBox, 530, 260 + i * 50, 100, 45});
    units.push_back({kTypeGroupBox, 640, 10, 140, 150});
    units.push_back({kTypeGroupBox, 640, 170, 140, 150});
    for (int i = 0; i < 2; ++i) units.push_back({kTypeTimer, 0, 0, 24, 24});
    units.push_back({kTypeStatusBar, 0, 520, 800, 22});
    return units;
}

const std::vector<std::string> kItems = {"收银一", "收银二", "收银三"};

std::vector<uint8_t> TypeData(uint32_t type, int index) {
    switch (type) {
        case kTypeEditBox: {
            EditBoxData d;
            d.content = std::to_string(index);
            d.alignment = 2;
            d.inputMode = 3;
            return EditBoxData::Write(d);
        }
        case kTypeLabel: {
            LabelData d;
            d.caption = "标签" + std::to_string(index);
            return LabelData::Write(d);
        }
        case kTypeButton: {
            ButtonData d;
            d.caption = "按钮";
            return ButtonData::Write(d);
        }
        case kTypeComboBox: {
            ComboBoxData d;
            d.items = kItems;
            return ComboBoxData::Write(d);
        }
        case kTypeListBox: {
            ListBoxData d;
            d.items = kItems;
            return ListBoxData::Write(d);
        }
        case kTypeGroupBox: return GroupBoxData::Write({});
        case kTypeTimer: return TimerData::Write({});
        default: return {};
    }
}

std::vector<uint8_t> BuildTemplate() {
    WindowTemplate w;
    w.id = kWindowId;
    UnitRecord window;
    window.id = kWindowRecordId;
    window.typeCode = kTypeWindow;
    window.width = 800;
    window.height = 580;
    window.stateFlags = UnitRecord::kStateVisible;
    WindowData wd;
    wd.caption = "基准";
    window.typeData = WindowData::Write(wd);
    w.records.push_back(window);
    std::vector<Spec> layout = Layout();
    uint32_t groups[2] = {0, 0};
    int groupCount = 0, labelsPlaced = 0;
    for (size_t i = 0; i < layout.size(); ++i) {
        UnitRecord r;
        r.id = 0x16010002 + static_cast<uint32_t>(i);
        r.typeCode = layout[i].type;
        r.name = "u" + std::to_string(i);
        r.left = layout[i].x;
        r.top = layout[i].y;
        r.width = layout[i].w;
        r.height = layout[i].h;
        r.cursorData = {0, 0, 0, 0};
        r.stateFlags = UnitRecord::kStateVisible | UnitRecord::kStateTabStop;
        r.typeData = TypeData(layout[i].type, static_cast<int>(i));
        if (r.typeCode == kTypeGroupBox) groups[groupCount++] = r.id;
        w.records.push_back(r);
    }
    // The last eight labels sit in the two group boxes.
    for (size_t k = w.records.size(); k-- > 1 && labelsPlaced < 8;) {
        UnitRecord& r = w.records[k];
        if (r.typeCode != kTypeLabel) continue;
        uint32_t group = groups[labelsPlaced / 4];
        r.parentId = group;
        r.left = 10;
        r.top = 20 + (labelsPlaced % 4) * 30;
        for (UnitRecord& g : w.records)
            if (g.id == group) g.children.push_back(r.id);
        ++labelsPlaced;
    }
    TemplateImage image;
    image.windows.push_back(w);
    return *WriteTemplateImage(image);
}

// The same windows made directly.
HWND CreateDirectly(const std::vector<Spec>& layout) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BenchPlain";
        wc.style = CS_DBLCLKS;
        RegisterClassW(&wc);
        registered = true;
    }
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HWND form = CreateWindowExW(0, L"BenchPlain", L"基准", WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS, 0, 0, 800, 580, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(form, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    HWND groups[2] = {};
    int groupCount = 0;
    std::vector<HWND> labels;
    int id = 100;
    for (size_t i = layout.size(); i-- > 0;) {
        const Spec& s = layout[i];
        const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
        const wchar_t* cls = L"BenchPlain";
        DWORD style = child, ex = 0;
        std::wstring text;
        switch (s.type) {
            case kTypeEditBox: cls = L"EDIT"; style |= ES_AUTOHSCROLL | ES_RIGHT; ex = WS_EX_CLIENTEDGE; text = std::to_wstring(i); break;
            case kTypeLabel: text = L"标签" + std::to_wstring(i); break;
            case kTypeButton: cls = L"BUTTON"; style |= BS_PUSHBUTTON; text = L"按钮"; break;
            case kTypeComboBox: cls = L"COMBOBOX"; style |= CBS_DROPDOWN | WS_VSCROLL; break;
            case kTypeListBox: cls = L"LISTBOX"; style |= LBS_NOTIFY | WS_VSCROLL; ex = WS_EX_CLIENTEDGE; break;
            case kTypeGroupBox: cls = L"BUTTON"; style |= BS_GROUPBOX; ex = WS_EX_CONTROLPARENT; break;
            case kTypeTimer: style &= ~WS_VISIBLE; break;
            case kTypeStatusBar: cls = STATUSCLASSNAMEW; style |= CCS_NOPARENTALIGN | CCS_NORESIZE; break;
            default: break;
        }
        int h = s.type == kTypeComboBox ? s.h + 160 : s.h;
        HWND c = CreateWindowExW(ex, cls, text.c_str(), style, s.x, s.y, s.w, h, form,
                                 reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr), nullptr);
        id += 10;
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (s.type == kTypeComboBox || s.type == kTypeListBox) {
            for (const wchar_t* item : {L"收银一", L"收银二", L"收银三"})
                SendMessageW(c, s.type == kTypeComboBox ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        if (s.type == kTypeGroupBox && groupCount < 2) groups[groupCount++] = c;
        if (s.type == kTypeLabel && labels.size() < 8) labels.push_back(c);
    }
    for (size_t k = 0; k < labels.size(); ++k) SetParent(labels[k], groups[k / 4 % 2]);
    ShowWindow(form, SW_SHOW);
    return form;
}

double Now() {
    LARGE_INTEGER c, f;
    QueryPerformanceCounter(&c);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

void Drain() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// One round, from nothing to a shown window; destroying and the paint that follows are
// outside the measurement.
template <typename Make>
double MeasureOnce(Make make) {
    double start = Now();
    HWND form = make();
    double took = Now() - start;
    Drain();
    DestroyWindow(form);
    Drain();
    return took;
}

struct Figures {
    double median, min;
};

Figures Summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

}  // namespace

int main() {
    std::vector<uint8_t> image = BuildTemplate();
    const ProgramDescriptor descriptor = {3, 0, 66502, reinterpret_cast<uintptr_t>(kEventCode), nullptr, 0, image.data(),
                                          static_cast<uint32_t>(image.size()), kSupportLibraryCount, SupportLibraries(),
                                          0, nullptr, nullptr, &kFormsRuntimeHooks};
    UseProgramDescriptor(&descriptor);
    RtEntries().otherHelp(kServiceInitialise, 0, 0, 0, 0, 0, 0);
    std::vector<Spec> layout = Layout();

    auto load = [] {
        LoadStartWindowById(kWindowId);
        return FindUnitObject(kWindowId, 0)->hwnd();
    };
    // One round of each first, so that classes and fonts are in place for both; then the two
    // alternate, so that a slow stretch of the machine falls on both alike.
    MeasureOnce([&] { return CreateDirectly(layout); });
    MeasureOnce(load);
    std::vector<double> loadedTimes, directTimes;
    for (int i = 0; i < kRounds; ++i) {
        loadedTimes.push_back(MeasureOnce(load));
        directTimes.push_back(MeasureOnce([&] { return CreateDirectly(layout); }));
    }
    Figures loaded = Summarise(loadedTimes), direct = Summarise(directTimes);
    size_t units = FindWindowEntry(kWindowId)->records.size() - 1;
    std::printf("window of %zu units, %d alternating rounds (median, minimum)\n", units, kRounds);
    std::printf("  loaded from the template: %8.3f ms %8.3f ms\n", loaded.median, loaded.min);
    std::printf("  CreateWindowExW directly: %8.3f ms %8.3f ms\n", direct.median, direct.min);
    std::printf("  ratio: %.2f (minimum %.2f; goal 1.30 at most)\n", direct.median > 0 ? loaded.median / direct.median : 0.0,
                direct.min > 0 ? loaded.min / direct.min : 0.0);
    std::fflush(stdout);
    return 0;
}
