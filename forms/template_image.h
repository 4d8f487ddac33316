// The window template image: its model, its reader and its writer.
//
// Layout (little-endian, no padding):
//   window table   counted block of N window ids (u32) followed by N u32 slots
//   N windows      attribute A, attribute B (u32), name, comment (counted texts),
//                  unit count M (u32), unit table (counted block)
//   unit table     M ids, M offsets (u32), then M records, each a u32 length and that
//                  many bytes; offset k counts from the first byte after the two arrays
//   unit record    the 23 fields of UnitRecord, in declaration order; the type data
//                  runs to the end of the record
//
// The reader only checks structure; it does not resolve handler offsets (the runtime
// adds the event-code base when it loads the image) and does not build units (each unit
// type parses its own type data, see forms/type_data/ and controls/).
//
// What the reader refuses, besides anything that runs past an end:
//   - a window table whose length is not a multiple of 8, a window id of 0 or one that
//     appears twice, and bytes after the last window;
//   - a window with no records, and records that do not lie back to back in table order
//     from the first byte after the arrays to the end of the unit table;
//   - invalid unit ids: an id whose low 24 bits or bits 24-27 are 0, an id used twice in
//     one window, a kind (bits 28-31) other than 0 (the window's own record), 1 (unit)
//     or 2 (menu item), a record 0 that is not of kind 0 with the window type code, and
//     kind 0 anywhere else. Lookup by id (unit id 0 meaning the window's own record)
//     must give one answer, so such tables are treated as malformed, not skipped;
//   - a menu item whose id kind and type code disagree.
// Menu item records (type code 0x00010003) have a layout of their own that this system
// never uses: they keep their raw record bytes, and their handler is left unresolved.
//
// Portable: no Windows header. Texts stay GBK bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/value.h"  // kWindowTypeCode, kWindowRecordId

// Stored handler offset meaning "none" (the same value as kNoHandlerOffset of the event code).
constexpr uint32_t kNoHandler = 0xFFFFFFFF;

// Record 0 of every window is of the window type (kWindowTypeCode); menu items have a type
// code of their own.
constexpr uint32_t kMenuItemTypeCode = 0x00010003;

// Ids: low 24 bits a running number, bits 24-27 the value 6, bits 28-31 the kind.
enum class UnitIdKind : uint32_t { WindowRecord = 0, Unit = 1, MenuItem = 2 };
constexpr bool IsValidUnitId(uint32_t id) { return (id & 0x00FFFFFF) != 0 && (id & 0x0F000000) != 0; }
constexpr uint32_t KindOfUnitId(uint32_t id) { return id >> 28; }
constexpr bool IsMenuItemId(uint32_t id) { return (id & 0x0F000000) == 0x06000000 && KindOfUnitId(id) == 2; }

constexpr bool IsNoHandler(uint32_t handlerOffset) { return handlerOffset == kNoHandler; }

struct EventEntry {
    int32_t number = 0;           // 0 and up: the type's own events; negative: common events
    uint32_t handlerOffset = kNoHandler;  // into the event code; 0 is a valid handler
    bool operator==(const EventEntry&) const = default;
};

// One record of a unit table, every stored field kept so that writing it back is exact.
struct UnitRecord {
    uint32_t id = 0;  // from the table's id array, not from the record

    uint32_t typeCode = 0;
    uint32_t eventSourceId = 0;  // 0: own event table; else a unit of the same type
    std::array<uint32_t, 4> reserved1{};
    std::string name;
    std::string comment;
    uint32_t objectSlot = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t cursorSlot = 0;
    uint32_t parentId = 0;           // container holding this unit; 0 = the window
    std::vector<uint32_t> children;  // page controls: pages separated by 0 entries
    std::vector<uint8_t> cursorData;
    std::string tag;
    uint32_t reserved2 = 0;
    uint32_t stateFlags = 0;  // kStateVisible | kStateDisabled | kStateTabStop
    uint32_t tabOrder = 0;
    std::vector<EventEntry> events;
    std::array<uint32_t, 5> reserved3{};
    std::vector<uint8_t> typeData;  // may be empty: all properties at their defaults

    // Menu items: the whole record data as stored (typeCode is its first word); every
    // other field above stays at its default.
    bool isMenuItem = false;
    std::vector<uint8_t> menuItemBytes;

    static constexpr uint32_t kStateVisible = 1;
    static constexpr uint32_t kStateDisabled = 2;
    static constexpr uint32_t kStateTabStop = 4;

    bool visible() const { return stateFlags & kStateVisible; }
    bool disabled() const { return stateFlags & kStateDisabled; }
    bool tabStop() const { return stateFlags & kStateTabStop; }
    // The stored handler offset of an event, or kNoHandler when the table has none.
    uint32_t HandlerOffset(int32_t eventNumber) const;

    bool operator==(const UnitRecord&) const = default;
};

struct WindowTemplate {
    uint32_t id = 0;
    uint32_t slot = 0;  // the window table slot as stored; carries no information
    uint32_t attributeA = 0;
    uint32_t attributeB = 0;
    std::string name;
    std::string comment;
    std::vector<UnitRecord> records;  // record 0 is the window's own record

    const UnitRecord* RecordAt(size_t position) const { return position < records.size() ? &records[position] : nullptr; }
    // By id; id 0 also names the window's own record. nullptr when absent.
    const UnitRecord* FindRecord(uint32_t unitId) const;
    // Table position of a unit id, or -1.
    int FindPosition(uint32_t unitId) const;

    bool operator==(const WindowTemplate&) const = default;
};

struct TemplateImage {
    std::vector<WindowTemplate> windows;

    const WindowTemplate* FindWindow(uint32_t windowId) const;

    bool operator==(const TemplateImage&) const = default;
};

// Reads a whole image. nullopt for any malformed image; *why (if given) then says what
// and where, for diagnostics only.
std::optional<TemplateImage> ReadTemplateImage(const uint8_t* data, size_t size, std::string* why = nullptr);

// Writes the model in the same layout, records back to back. nullopt when the model
// cannot be encoded: a zero-terminated text holding a NUL, a size beyond 32 bits, or a
// model that the reader would refuse (so every written image reads back to the same model).
std::optional<std::vector<uint8_t>> WriteTemplateImage(const TemplateImage& image, std::string* why = nullptr);

// Splits a page control's child list into its pages: each 0 entry closes a page and the
// last page has no closing 0, so k separators give k + 1 pages (an empty list gives one
// empty page).
std::vector<std::vector<uint32_t>> SplitPages(const std::vector<uint32_t>& children);
// The inverse: joins pages with 0 separators.
std::vector<uint32_t> JoinPages(const std::vector<std::vector<uint32_t>>& pages);
