// The commands and properties the tools use, typed. Each wrapper builds the argument
// records, calls through the runtime entry table and hands back an owned result; omitted
// optional arguments go as tag 0, as the runtime expects. Texts and byte sets the tools pass
// are borrowed (TextView, const Bytes&); texts and byte sets that come back are owned (Text,
// Bytes, TextArray) and free themselves.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <utility>

#include "toolbox/rt/entry_calls.h"
#include "toolbox/rt/text.h"
#include "toolbox/rt/units.h"

// Thread routines are platform thread start routines: the standard Windows calling
// convention, which is stdcall in the 32-bit build.
#if defined(__i386__)
#define MG_STDCALL __attribute__((stdcall))
#else
#define MG_STDCALL
#endif

namespace rt {

// ---- Properties ----------------------------------------------------------------------

template <class T, class Owner>
    requires HasPropertiesOf<T, Owner>
int32_t Get(Unit<T> unit, Property<Owner, int32_t> p) {
    return static_cast<int32_t>(raw::Read(unit.windowId, unit.unitId, p.index));
}
template <class T, class Owner>
    requires HasPropertiesOf<T, Owner>
bool Get(Unit<T> unit, Property<Owner, bool> p) {
    return static_cast<uint32_t>(raw::Read(unit.windowId, unit.unitId, p.index)) != 0;
}
template <class T, class Owner>
    requires HasPropertiesOf<T, Owner>
Text Get(Unit<T> unit, Property<Owner, TextValue> p) {
    return Text::Adopt(static_cast<char*>(raw::AsPointer(raw::Read(unit.windowId, unit.unitId, p.index))));
}

template <class T, class Owner>
    requires HasPropertiesOf<T, Owner>
void Set(Unit<T> unit, Property<Owner, int32_t> p, int32_t value) {
    raw::Write(unit.windowId, unit.unitId, p.index, static_cast<uint32_t>(value));
}
template <class T, class Owner>
    requires HasPropertiesOf<T, Owner>
void Set(Unit<T> unit, Property<Owner, bool> p, bool value) {
    raw::Write(unit.windowId, unit.unitId, p.index, value ? 1u : 0u);
}
// The runtime does not take the text over: it stays the caller's.
template <class T, class Owner>
    requires HasPropertiesOf<T, Owner>
void Set(Unit<T> unit, Property<Owner, TextValue> p, TextView text) {
    raw::Write(unit.windowId, unit.unitId, p.index, raw::PointerBits(text.c_str()));
}

// ---- Conversions and texts -------------------------------------------------------------

// A date-time value: days since 30 December 1899, the fraction the time of day.
struct DateTime {
    double days;
};

double ToNumber(TextView text);    // the leading number of the text (atof rules); none gives 0
int32_t ToInteger(TextView text);  // atoi rules, full-width digits read as digits
Text ToText(double value);         // "%.13g"
Text ToText(int32_t value);        // plain decimal
Text ToText(uint8_t value);        // unsigned decimal
Text ToText(DateTime value);       // 2026年12月8日14时5分9秒
Text ToText(const Bytes& bytes);   // the bytes up to the first NUL
Bytes ToBytes(TextView text);      // the text's bytes without the NUL
int32_t TextLength(TextView text);
// The parts between the delimiter (GBK-aware); empty parts are kept, a last empty one not.
TextArray SplitText(TextView text, TextView delimiter);
int16_t MakeShort(int32_t low, int32_t high);
Bytes PointerToBytes(intptr_t address, int32_t length);

// ---- Program, files and the shell --------------------------------------------------------

DateTime GetCurrentDateTime();
Text GetRunDirectory();  // without a trailing backslash
bool FileExists(TextView path);
bool CreateDirectory(TextView path);
Bytes ReadFile(TextView path);
bool WriteFile(TextView path, std::initializer_list<const Bytes*> parts);
inline bool WriteFile(TextView path, const Bytes& content) { return WriteFile(path, {&content}); }
// Hands the file or folder to the shell's default action; the shell's result (above 32: done).
int32_t ShellOpen(TextView file);
void Sleep(int32_t milliseconds);

// A file opened with the default modes (read and write, others may read and write). A file
// that cannot be opened has number 0, and writing to it does nothing. Closed by Close() or
// when it goes.
class File {
public:
    static File Open(TextView path);
    File(File&& o) noexcept : number_(std::exchange(o.number_, 0)) {}
    File& operator=(File&&) = delete;
    File(const File&) = delete;
    ~File() { Close(); }
    bool WriteBytes(const Bytes& bytes);
    void Close();

private:
    explicit File(intptr_t number) : number_(number) {}
    intptr_t number_ = 0;
};

// ---- Dialogs and units --------------------------------------------------------------------

// A task-modal message box with the default caption; the button pressed (OK is 0).
int32_t MessageBox(TextView text, int32_t flags = 0);
void SetFocus(AnyUnit unit);
int32_t GetClientWidth(AnyUnit unit);
int32_t GetClientHeight(AnyUnit unit);
intptr_t GetWindowHandle(AnyUnit unit);
// The whole window, frame included, as a BMP file image; empty when there is none.
Bytes CaptureWindowImage(intptr_t windowHandle);
Text ComboItemText(Unit<ComboBox> combo, int32_t index);
int32_t ListBoxCount(Unit<ListBox> list);
Text ListBoxItemText(Unit<ListBox> list, int32_t index);

// The unit whose event is being handled: a handler bound to several units asks which one
// raised it. Outside a handler: the empty reference.
AnyUnit EventSource();

// Unit lists as the runtime hands them out, by number (0: none).
intptr_t FindUnitList(AnyUnit window, TextView name, const char* typeName);
int32_t UnitListCount(intptr_t number);
AnyUnit UnitListItem(intptr_t number, int32_t index);
void FreeUnitList(intptr_t number);
[[noreturn]] void ReportError(int32_t code);

// The units of a unit list as a range of units of type T; frees its list when it goes. An
// item of another type ends the program with runtime error 5, as a unit list item of the
// wrong type does.
template <class T>
class UnitList {
public:
    static UnitList Adopt(intptr_t number) { return UnitList(number); }
    UnitList(UnitList&& o) noexcept : number_(std::exchange(o.number_, 0)) {}
    UnitList(const UnitList&) = delete;
    UnitList& operator=(const UnitList&) = delete;
    ~UnitList() {
        if (number_) FreeUnitList(number_);
    }

    int32_t size() const { return UnitListCount(number_); }
    Unit<T> operator[](int32_t i) const {
        AnyUnit u = UnitListItem(number_, i);
        if (u.typeCode != T::kTypeCode) ReportError(5);
        return {u.windowId, u.unitId};
    }

    class iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Unit<T>;
        using difference_type = std::ptrdiff_t;
        iterator(const UnitList* list, int32_t i) : list_(list), i_(i) {}
        Unit<T> operator*() const { return (*list_)[i_]; }
        iterator& operator++() {
            ++i_;
            return *this;
        }
        bool operator==(const iterator& o) const { return i_ == o.i_; }

    private:
        const UnitList* list_;
        int32_t i_;
    };
    iterator begin() const { return {this, 0}; }
    iterator end() const { return {this, size()}; }

private:
    explicit UnitList(intptr_t number) : number_(number) {}
    intptr_t number_ = 0;
};

// The units of the window of type T whose names begin with `name` ("@name": exactly that
// name), in form order: FindUnits<EditBox>(主窗口, "盘").
template <class T, class W>
UnitList<T> FindUnits(Unit<W> window, TextView name) {
    return UnitList<T>::Adopt(FindUnitList(window, name, T::kTypeName));
}

// ---- The super list box's commands -----------------------------------------------------------

int32_t ListViewRowCount(Unit<ListView> list);
Text ListViewCellText(Unit<ListView> list, int32_t row, int32_t column);
void ListViewSetCellText(Unit<ListView> list, int32_t row, int32_t column, TextView text);
void ListViewSetCellImage(Unit<ListView> list, int32_t row, int32_t column, int32_t image);
void ListViewEnsureVisible(Unit<ListView> list, int32_t row);
enum class Alignment : int32_t { Left = 0, Centre = 1, Right = 2 };
// Appends a column; its index, or -1.
int32_t ListViewAppendColumn(Unit<ListView> list, TextView title, int32_t width, Alignment alignment);
int32_t ListViewColumnWidth(Unit<ListView> list, int32_t column);
// Appends an empty row without image; its index, or -1.
int32_t ListViewAppendRow(Unit<ListView> list);
// Runs `batch` on the thread that owns the list's window and returns when it has run: from a
// worker, the cells it writes there cost one trip to that thread instead of one each.
void ListViewBatch(Unit<ListView> list, const std::function<void()>& batch);

// ---- Threads and critical sections -------------------------------------------------------------

using ThreadRoutine = uint32_t(MG_STDCALL*)(void* parameter);
// Starts the routine on a new thread with the parameter; no handle is kept.
bool StartThread(ThreadRoutine routine, intptr_t parameter = 0);

// A critical section of the thread library, held as its handle (0: none).
struct CriticalSection {
    intptr_t handle = 0;
    static CriticalSection Create();
    void Enter() const;
    void Leave() const;
};

// Holds a critical section for its scope.
class Lock {
public:
    explicit Lock(const CriticalSection& section) : section_(section) { section_.Enter(); }
    ~Lock() { section_.Leave(); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    const CriticalSection& section_;
};

}  // namespace rt
