// Unit commands: native handles, focus, client size, finding units by name, combo box and
// list box items, and the registry of unit lists that FindUnits hands out.
#include "forms/unit_commands.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "forms/unit_lookup.h"
#include "runtime/commands/command_args.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "runtime/number_parse.h"

namespace {

HWND ResolvedWindow(int32_t count, ArgValue* args) {
    ArgValue unit = cmd::Arg(count, args, 0);
    return UnitWindowHandle(ResolveUnit(unit.low, unit.high));
}

// Live unit lists. Heap-allocated and never destroyed, so it outlives the runtime's
// shutdown; the lock costs nothing and keeps two threads from tearing the vector.
SRWLOCK g_listLock = SRWLOCK_INIT;
std::vector<uint32_t*>& UnitLists() {
    static auto* lists = new std::vector<uint32_t*>;
    return *lists;
}

// The registered list that a number names, or null. The caller holds the lock.
uint32_t* RegisteredList(void* number) {
    auto& lists = UnitLists();
    auto it = std::find(lists.begin(), lists.end(), static_cast<uint32_t*>(number));
    return it == lists.end() ? nullptr : *it;
}

bool NameMatches(const std::string& unitName, const char* wanted) {
    if (!*wanted) return true;
    if (*wanted == '@') return unitName == wanted + 1;  // exact
    size_t n = std::strlen(wanted);
    return unitName.size() >= n && std::memcmp(unitName.data(), wanted, n) == 0;  // prefix
}

std::string ItemText(HWND control, UINT lengthMessage, UINT textMessage, int32_t index) {
    LRESULT length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(control, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    if (got <= 0) return {};
    return GbkFromWide(text.c_str(), static_cast<size_t>(std::min(got, length)));
}

}  // namespace

void GetWindowHandle(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetHandle(result, ResolvedWindow(count, args));
}

// A handler bound to several units asks which one raised its event. Outside a handler the
// result is the empty reference, as UnitListItem gives for an index out of range.
void GetEventSource(ArgValue* result, int32_t, ArgValue*) {
    uint32_t windowId = 0, unitId = 0, typeCode = 0;
    if (CurrentEventUnit(&windowId, &unitId, &typeCode))
        *result = ArgValue::OfUnit(windowId, unitId, typeCode);
    else
        *result = ArgValue::OfUnit(0, 0, kWindowTypeCode);
}

void SetFocus(ArgValue*, int32_t count, ArgValue* args) {
    HWND window = ResolvedWindow(count, args);
    if (window) ::SetFocus(window);
}

void GetClientWidth(ArgValue* result, int32_t count, ArgValue* args) {
    RECT r = {};
    GetClientRect(ResolvedWindow(count, args), &r);
    cmd::SetInt(result, r.right - r.left);
}

void GetClientHeight(ArgValue* result, int32_t count, ArgValue* args) {
    RECT r = {};
    GetClientRect(ResolvedWindow(count, args), &r);
    cmd::SetInt(result, r.bottom - r.top);
}

void FindUnits(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetHandle(result, nullptr);
    ArgValue window = cmd::Arg(count, args, 0);
    if (!IsWindowType(window.tag) || window.low == 0) return;
    HWND windowHandle = UnitWindowHandle(ResolveUnit(window.low, window.high));
    if (!windowHandle || !IsWindow(windowHandle)) return;

    const char* name = cmd::TextOr(count, args, 1, "");
    const char* typeName = cmd::TextOr(count, args, 2, "");
    int32_t minimum = cmd::IntOr(count, args, 3, INT32_MIN);
    int32_t maximum = cmd::IntOr(count, args, 4, INT32_MAX);

    std::vector<uint32_t> triples;
    for (const UnitRecordView& unit : WindowUnitRecords(window.low)) {
        HWND unitHandle = UnitWindowHandle(unit.object);
        if (!unitHandle || !IsWindow(unitHandle) || !IsChild(windowHandle, unitHandle)) continue;
        if (!NameMatches(unit.name, name)) continue;
        if (*typeName && UnitTypeName(unit.typeCode) != typeName) continue;
        int32_t tag = ParseInteger(unit.tagText.c_str());
        if (tag < minimum || tag > maximum) continue;
        triples.insert(triples.end(), {unit.typeCode, window.low, unit.unitId});
    }
    if (triples.empty()) return;

    auto* list = static_cast<uint32_t*>(RtAlloc((triples.size() + 1) * sizeof(uint32_t)));
    list[0] = static_cast<uint32_t>(triples.size() / 3);
    std::memcpy(list + 1, triples.data(), triples.size() * sizeof(uint32_t));
    AcquireSRWLockExclusive(&g_listLock);
    UnitLists().push_back(list);
    ReleaseSRWLockExclusive(&g_listLock);
    cmd::SetHandle(result, list);
}

void UnitListCount(ArgValue* result, int32_t count, ArgValue* args) {
    AcquireSRWLockShared(&g_listLock);
    uint32_t* list = RegisteredList(cmd::PointerOr(count, args, 0, nullptr));
    cmd::SetInt(result, list ? static_cast<int32_t>(list[0]) : 0);
    ReleaseSRWLockShared(&g_listLock);
}

void UnitListItem(ArgValue* result, int32_t count, ArgValue* args) {
    *result = ArgValue::OfUnit(0, 0, kWindowTypeCode);  // the empty reference
    int32_t index = cmd::Arg(count, args, 1).Int();
    AcquireSRWLockShared(&g_listLock);
    uint32_t* list = RegisteredList(cmd::PointerOr(count, args, 0, nullptr));
    if (list && index >= 0 && static_cast<uint32_t>(index) < list[0]) {
        const uint32_t* triple = list + 1 + 3 * static_cast<size_t>(index);
        *result = ArgValue::OfUnit(triple[1], triple[2], triple[0]);
    }
    ReleaseSRWLockShared(&g_listLock);
}

void FreeUnitList(ArgValue*, int32_t count, ArgValue* args) {
    auto* number = static_cast<uint32_t*>(cmd::PointerOr(count, args, 0, nullptr));
    AcquireSRWLockExclusive(&g_listLock);
    auto& lists = UnitLists();
    auto it = std::find(lists.begin(), lists.end(), number);
    bool registered = number && it != lists.end();
    if (registered) lists.erase(it);
    ReleaseSRWLockExclusive(&g_listLock);
    if (registered) RtFree(number);
}

void ComboItemText(ArgValue* result, int32_t count, ArgValue* args) {
    HWND combo = ResolvedWindow(count, args);
    int32_t index = cmd::Arg(count, args, 1).Int();
    LRESULT items = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    std::string text;
    if (index >= 0 && index < items) text = ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
    cmd::SetText(result, NewText(text.data(), text.size()));
}

void ListBoxCount(ArgValue* result, int32_t count, ArgValue* args) {
    LRESULT items = SendMessageW(ResolvedWindow(count, args), LB_GETCOUNT, 0, 0);
    cmd::SetInt(result, items < 0 ? 0 : static_cast<int32_t>(items));
}

void ListBoxItemText(ArgValue* result, int32_t count, ArgValue* args) {
    HWND list = ResolvedWindow(count, args);
    int32_t index = cmd::Arg(count, args, 1).Int();
    LRESULT items = SendMessageW(list, LB_GETCOUNT, 0, 0);
    std::string text;
    if (index >= 0 && index < items) text = ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, index);
    cmd::SetText(result, NewText(text.data(), text.size()));
}

void ListBoxInsertItem(ArgValue* result, int32_t count, ArgValue* args) {
    HWND list = ResolvedWindow(count, args);
    int32_t index = cmd::Arg(count, args, 1).Int();
    cmd::SetInt(result, -1);
    if (index < 0) return;  // no append for negative indexes
    std::wstring text = WideFromGbk(cmd::TextOr(count, args, 2, ""));
    LRESULT at = SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    if (at < 0) return;  // LB_ERR, LB_ERRSPACE
    SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(at), cmd::IntOr(count, args, 3, 0));
    cmd::SetInt(result, static_cast<int32_t>(at));
}
