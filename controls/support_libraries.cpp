#include "controls/support_libraries.h"

#include <array>

#include "controls/list_view_unit.h"
#include "controls/unit_types.h"
#include "forms/described_unit.h"

// Libraries 4 and 5 (threads, shell) are defined with their commands in runtime/.

#define MG_DECLARE_OPERATIONS(library, position, Name, flags) extern const UnitOperations k##Name##Operations;
MG_UNIT_TYPES(MG_DECLARE_OPERATIONS)
#undef MG_DECLARE_OPERATIONS

namespace {

// Each unit type of the list, from its description, flags and operations.
#define MG_DEFINE_TYPE(library, position, Name, flags) \
    const UnitTypeInfo k##Name##Type = DescribedUnitType<Name##Data>(flags, &k##Name##Operations);
MG_UNIT_TYPES(MG_DEFINE_TYPE)
#undef MG_DEFINE_TYPE

struct Placed {
    uint32_t library;
    uint32_t position;
    const UnitTypeInfo* type;
};
#define MG_PLACE_TYPE(library, position, Name, flags) Placed{library, position, &k##Name##Type},
constexpr Placed kPlaced[] = {MG_UNIT_TYPES(MG_PLACE_TYPE)};
#undef MG_PLACE_TYPE

// A library's table reaches to its last type; positions without a type stay null.
constexpr uint32_t TableSize(uint32_t library) {
    uint32_t size = 0;
    for (const Placed& p : kPlaced)
        if (p.library == library && p.position > size) size = p.position;
    return size;
}

template <uint32_t Library>
constexpr std::array<const UnitTypeInfo*, TableSize(Library)> Table() {
    std::array<const UnitTypeInfo*, TableSize(Library)> table{};
    for (const Placed& p : kPlaced)
        if (p.library == Library) table[p.position - 1] = p.type;
    return table;
}

constexpr auto kCoreTypes = Table<1>();
constexpr auto kPageControlTypes = Table<2>();
constexpr auto kExtendedTypes = Table<3>();
static_assert(TableSize(4) == 0 && TableSize(5) == 0, "libraries 4 and 5 have commands only");

const LibraryInfo* const kLibraries[kSupportLibraryCount] = {
    &kCoreUnitLibrary, &kPageControlLibrary, &kExtendedUnitLibrary, &kThreadLibrary, &kShellLibrary,
};

}  // namespace

const LibraryInfo kCoreUnitLibrary = {"CoreUnits", nullptr, kCoreTypes.size(), kCoreTypes.data(), 0, nullptr};
const LibraryInfo kPageControlLibrary = {"PageControl", nullptr, kPageControlTypes.size(), kPageControlTypes.data(), 0,
                                         nullptr};
const LibraryInfo kExtendedUnitLibrary = {"ExtendedUnits", nullptr, kExtendedTypes.size(), kExtendedTypes.data(),
                                          kListViewCommandCount, kListViewCommands};

const LibraryInfo* const* SupportLibraries() { return kLibraries; }

const UnitTypeInfo* SupportedUnitType(uint32_t typeCode) {
    const uint32_t library = typeCode >> 16, position = typeCode & 0xFFFF;
    if (library == 0 || library > kSupportLibraryCount || position == 0) return nullptr;
    const LibraryInfo* info = kLibraries[library - 1];
    return position <= info->unitTypeCount ? info->unitTypes[position - 1] : nullptr;
}
