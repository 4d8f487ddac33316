#include "toolbox/rt/commands.h"

#include "controls/list_view_unit.h"
#include "forms/unit_commands.h"
#include "runtime/commands/core_commands.h"
#include "runtime/threads.h"

namespace rt {

namespace {

using raw::Command;
using raw::LibCommand;

ArgValue Int(int32_t v) { return ArgValue::OfInt(v); }
// Handles, addresses and numbers the runtime hands out travel as integers at pointer width.
ArgValue Handle(intptr_t v) { return ArgValue::OfPointer(reinterpret_cast<const void*>(v), kTagInt); }
ArgValue Omitted() { return ArgValue{}; }

Text TextResult(const ArgValue& r) { return Text::Adopt(const_cast<char*>(r.Text())); }
Bytes BytesResult(const ArgValue& r) { return Bytes::Adopt(r.Pointer()); }
intptr_t HandleResult(const ArgValue& r) { return reinterpret_cast<intptr_t>(r.Pointer()); }

ArgValue ListCommand(CommandRoutine routine, std::initializer_list<ArgValue> args) {
    return LibCommand(raw::kListViewLibrary, routine, args);
}

}  // namespace

// ---- Conversions and texts ----

double ToNumber(TextView text) { return Command(&::ToNumber, {text.Arg()}).Double(); }
int32_t ToInteger(TextView text) { return Command(&::ToInteger, {text.Arg()}).Int(); }
Text ToText(double value) { return TextResult(Command(&::ToText, {ArgValue::OfDouble(value)})); }
Text ToText(int32_t value) { return TextResult(Command(&::ToText, {Int(value)})); }
Text ToText(uint8_t value) { return TextResult(Command(&::ToText, {ArgValue::OfByte(value)})); }
Text ToText(DateTime value) { return TextResult(Command(&::ToText, {ArgValue::OfDouble(value.days, kTagDateTime)})); }
Text ToText(const Bytes& bytes) { return TextResult(Command(&::ToText, {bytes.Arg()})); }
Bytes ToBytes(TextView text) { return BytesResult(Command(&::ToBytes, {text.Arg()})); }
int32_t TextLength(TextView text) { return Command(&::TextLength, {text.Arg()}).Int(); }

TextArray SplitText(TextView text, TextView delimiter) {
    return TextArray::Adopt(Command(&::SplitText, {text.Arg(), delimiter.Arg()}).Pointer());
}

int16_t MakeShort(int32_t low, int32_t high) { return Command(&::MakeShort, {Int(low), Int(high)}).Short(); }

Bytes PointerToBytes(intptr_t address, int32_t length) {
    return BytesResult(Command(&::PointerToBytes, {Handle(address), Int(length)}));
}

// ---- Program, files and the shell ----

DateTime GetCurrentDateTime() { return {Command(&::GetCurrentDateTime, {}).Double()}; }
Text GetRunDirectory() { return TextResult(Command(&::GetRunDirectory, {})); }
bool FileExists(TextView path) { return Command(&::FileExists, {path.Arg()}).Bool(); }
bool CreateDirectory(TextView path) { return Command(&::CreateDirectory, {path.Arg()}).Bool(); }
Bytes ReadFile(TextView path) { return BytesResult(Command(&::ReadFile, {path.Arg()})); }

bool WriteFile(TextView path, std::initializer_list<const Bytes*> parts) {
    ArgValue args[16];
    int32_t n = 0;
    args[n++] = path.Arg();
    for (const Bytes* part : parts)
        if (n < 16) args[n++] = part->Arg();
    return RtEntries().callCoreCommand(&::WriteFile, n, args).Bool();
}

int32_t ShellOpen(TextView file) { return LibCommand(raw::kShellLibrary, &::ShellOpen, {Omitted(), file.Arg()}).Int(); }
void Sleep(int32_t milliseconds) { Command(&::Sleep, {Int(milliseconds)}); }

File File::Open(TextView path) { return File(HandleResult(Command(&::OpenFile, {path.Arg()}))); }
bool File::WriteBytes(const Bytes& bytes) { return Command(&::WriteBytes, {Handle(number_), bytes.Arg()}).Bool(); }
void File::Close() {
    if (number_) Command(&::CloseFile, {Handle(std::exchange(number_, 0))});
}

// ---- Dialogs and units ----

int32_t MessageBox(TextView text, int32_t flags) { return Command(&::MessageBox, {text.Arg(), Int(flags)}).Int(); }
void SetFocus(AnyUnit unit) { Command(&::SetFocus, {unit.Arg()}); }
int32_t GetClientWidth(AnyUnit unit) { return Command(&::GetClientWidth, {unit.Arg()}).Int(); }
int32_t GetClientHeight(AnyUnit unit) { return Command(&::GetClientHeight, {unit.Arg()}).Int(); }
intptr_t GetWindowHandle(AnyUnit unit) { return HandleResult(Command(&::GetWindowHandle, {unit.Arg()})); }
Bytes CaptureWindowImage(intptr_t windowHandle) {
    return BytesResult(Command(&::CaptureWindowImage, {Handle(windowHandle)}));
}
Text ComboItemText(Unit<ComboBox> combo, int32_t index) {
    return TextResult(Command(&::ComboItemText, {combo.Arg(), Int(index)}));
}
int32_t ListBoxCount(Unit<ListBox> list) { return Command(&::ListBoxCount, {list.Arg()}).Int(); }
Text ListBoxItemText(Unit<ListBox> list, int32_t index) {
    return TextResult(Command(&::ListBoxItemText, {list.Arg(), Int(index)}));
}

AnyUnit EventSource() {
    ArgValue r = Command(&::GetEventSource, {});
    return {r.low, r.high, r.tag};
}

intptr_t FindUnitList(AnyUnit window, TextView name, const char* typeName) {
    return HandleResult(Command(&::FindUnits, {window.Arg(), name.Arg(), TextView(typeName).Arg()}));
}
int32_t UnitListCount(intptr_t number) { return Command(&::UnitListCount, {Handle(number)}).Int(); }
AnyUnit UnitListItem(intptr_t number, int32_t index) {
    ArgValue r = Command(&::UnitListItem, {Handle(number), Int(index)});
    return {r.low, r.high, r.tag};
}
void FreeUnitList(intptr_t number) { Command(&::FreeUnitList, {Handle(number)}); }
void ReportError(int32_t code) {
    RtEntries().reportError(code);
    __builtin_unreachable();
}

// ---- The super list box ----

int32_t ListViewRowCount(Unit<ListView> list) { return ListCommand(&::ListViewRowCount, {list.Arg()}).Int(); }
Text ListViewCellText(Unit<ListView> list, int32_t row, int32_t column) {
    return TextResult(ListCommand(&::ListViewCellText, {list.Arg(), Int(row), Int(column)}));
}
void ListViewSetCellText(Unit<ListView> list, int32_t row, int32_t column, TextView text) {
    ListCommand(&::ListViewSetCellText, {list.Arg(), Int(row), Int(column), text.Arg()});
}
void ListViewSetCellImage(Unit<ListView> list, int32_t row, int32_t column, int32_t image) {
    ListCommand(&::ListViewSetCellImage, {list.Arg(), Int(row), Int(column), Int(image)});
}
void ListViewEnsureVisible(Unit<ListView> list, int32_t row) {
    ListCommand(&::ListViewEnsureVisible, {list.Arg(), Int(row)});
}
int32_t ListViewAppendColumn(Unit<ListView> list, TextView title, int32_t width, Alignment alignment) {
    return ListCommand(&::ListViewInsertColumn,
                       {list.Arg(), Int(-1), title.Arg(), Int(width), Int(static_cast<int32_t>(alignment))})
        .Int();
}
int32_t ListViewColumnWidth(Unit<ListView> list, int32_t column) {
    return ListCommand(&::ListViewColumnWidth, {list.Arg(), Int(column)}).Int();
}
int32_t ListViewAppendRow(Unit<ListView> list) { return ListCommand(&::ListViewInsertRow, {list.Arg()}).Int(); }

void ListViewBatch(Unit<ListView> list, const std::function<void()>& batch) {
    ListViewBatchRoutine run = [](void* p) { (*static_cast<const std::function<void()>*>(p))(); };
    ListCommand(&::ListViewRunBatch,
                {list.Arg(), Handle(reinterpret_cast<intptr_t>(run)), Handle(reinterpret_cast<intptr_t>(&batch))});
}

// ---- Threads ----

bool StartThread(ThreadRoutine routine, intptr_t parameter) {
    ArgValue subroutine = ArgValue::OfPointer(reinterpret_cast<const void*>(routine), kTagSubroutine);
    ArgValue r = parameter ? LibCommand(raw::kThreadLibrary, &::StartThread, {subroutine, Handle(parameter)})
                           : LibCommand(raw::kThreadLibrary, &::StartThread, {subroutine});
    return r.Bool();
}

CriticalSection CriticalSection::Create() {
    return {HandleResult(LibCommand(raw::kThreadLibrary, &::CreateCriticalSection, {}))};
}
void CriticalSection::Enter() const { LibCommand(raw::kThreadLibrary, &::EnterCriticalSection, {Handle(handle)}); }
void CriticalSection::Leave() const { LibCommand(raw::kThreadLibrary, &::LeaveCriticalSection, {Handle(handle)}); }

}  // namespace rt
