// Type data of the edit box, maximum version 2, and its properties:
// one line per field, in the order of the type data.
#pragma once

#include "forms/type_data/described_properties.h"

inline constexpr std::array<Choice, 4> kScrollBarChoices = {{{"none", 0}, {"horizontal", 1}, {"vertical", 2}, {"both", 3}}};
inline constexpr std::array<Choice, 12> kInputModeChoices = {{{"normal", 0}, {"read_only", 1}, {"password", 2},
                                                              {"integer_text", 3}, {"decimal_text", 4}, {"byte", 5},
                                                              {"short", 6}, {"integer", 7}, {"long", 8}, {"float", 9},
                                                              {"double", 10}, {"date_time", 11}}};
inline constexpr std::array<Choice, 3> kCaseChoices = {{{"none", 0}, {"lower", 1}, {"upper", 2}}};

#define MG_EDIT_BOX_FIELDS(F, V, U)                                                                        \
    F(uint32_t, border, 1, Prop(9, "Border", P::kPick).Range(0, 3))                                       \
    F(uint32_t, textColour, 0x00000000, Prop(10, "TextColour", P::kColour))                               \
    F(uint32_t, backgroundColour, 0x00FFFFFF, Prop(11, "BackgroundColour", P::kBackgroundColour))         \
    F(uint32_t, hideSelection, 1, Prop(13, "HideSelection", P::kSwitch))                                  \
    F(uint32_t, maxLength, 0, Prop(14, "MaxLength", P::kInteger).Range(0, INT32_MAX))  /* 0: no limit */   \
    F(uint32_t, multiLine, 0, Prop(15, "MultiLine", P::kSwitch))                                          \
    F(uint32_t, scrollBars, 0, Prop(16, "ScrollBars", P::kPick).Range(0, 3).Names(kScrollBarChoices))     \
    F(uint32_t, alignment, 0, Prop(17, "Alignment", P::kPick).Range(0, 2).Names(kHorizontalChoices))      \
    F(uint32_t, inputMode, kNormal, Prop(18, "InputMode", P::kPick).Range(0, 11).Names(kInputModeChoices)) \
    F(uint16_t, passwordChar, '*', Prop(19, "PasswordChar", P::kText))  /* one byte, in the low byte */  \
    F(uint32_t, caseConversion, 0, Prop(20, "CaseConversion", P::kPick).Range(0, 2).Names(kCaseChoices))  \
    F(uint32_t, spinMode, 0, Prop(21, "SpinMode", P::kPick))  /* non-zero adds spin buttons */            \
    F(int32_t, spinMin, 0, Prop(22, "SpinMinimum", P::kInteger).Key("spin_min"))                          \
    F(int32_t, spinMax, 100, Prop(23, "SpinMaximum", P::kInteger).Key("spin_max"))                        \
    F(uint32_t, selectionStart, 0, Prop(24, "SelectionStart", P::kInteger))                               \
    F(uint32_t, selectionLength, 0, Prop(25, "SelectionLength", P::kInteger))                             \
    F(FontBlock, font, {}, Prop(12, "Font", P::kFont))                                                    \
    F(std::string, content, {}, Prop(8, "Content", P::kText))                                             \
    F(std::string, dataSource, {}, Prop(27, "DataSource", P::kDataBinding).Since(2))                      \
    F(std::string, dataColumn, {}, Prop(28, "DataColumn", P::kDataBinding).Since(2))                      \
    U(Prop(26, "SelectedText", P::kText))

struct EditBoxData {
    static constexpr const char* kTypeName = "编辑框";
    static constexpr const char* kEnglishName = "EditBox";
    static constexpr uint32_t kMaxVersion = 2;

    // Input modes of property 18.
    enum InputMode : uint32_t {
        kNormal = 0, kReadOnly = 1, kPassword = 2, kIntegerText = 3, kDecimalText = 4, kByte = 5,
        kShort = 6, kInteger = 7, kLong = 8, kFloat = 9, kDouble = 10, kDateTime = 11,
    };

    MG_DESCRIBED_FIELDS(MG_EDIT_BOX_FIELDS)

    static std::optional<EditBoxData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<EditBoxData>(data, size);
    }
    static std::vector<uint8_t> Write(const EditBoxData& d) { return WriteTypeData(d); }
    bool operator==(const EditBoxData&) const = default;
};
