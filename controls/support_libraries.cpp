#include "controls/support_libraries.h"

#include "controls/list_view_unit.h"
#include "controls/page_control_unit.h"
#include "controls/trans_label_unit.h"
#include "forms/units/core_unit_types.h"

// Libraries 4 and 5 (threads, shell) are defined with their commands in runtime/.

namespace {

// Positions without a unit type of this system stay null.
const UnitTypeInfo* const kCoreTypes[32] = {
    &kWindowType, nullptr, nullptr, nullptr, &kEditBoxType, nullptr, nullptr, nullptr,
    &kGroupBoxType, &kLabelType, &kButtonType, nullptr, nullptr, &kComboBoxType, &kListBoxType, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &kTimerType,
};
const UnitTypeInfo* const kPageControlTypes[2] = {nullptr, &kPageControlType};
const UnitTypeInfo* const kExtendedTypes[5] = {nullptr, &kStatusBarType, nullptr, &kListViewType, &kTransLabelType};

const LibraryInfo* const kLibraries[kSupportLibraryCount] = {
    &kCoreUnitLibrary, &kPageControlLibrary, &kExtendedUnitLibrary, &kThreadLibrary, &kShellLibrary,
};

}  // namespace

const LibraryInfo kCoreUnitLibrary = {"CoreUnits", nullptr, 32, kCoreTypes, 0, nullptr};
const LibraryInfo kPageControlLibrary = {"PageControl", nullptr, 2, kPageControlTypes, 0, nullptr};
const LibraryInfo kExtendedUnitLibrary = {"ExtendedUnits", nullptr, 5, kExtendedTypes, kListViewCommandCount,
                                          kListViewCommands};

const LibraryInfo* const* SupportLibraries() { return kLibraries; }
