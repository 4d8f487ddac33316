// Type data of the advanced tab control, maximum version 7, and its
// properties: one line per field, in the order of the type data.
//
//   version u32; settingsA 4 x u32; tab font: 60-byte LOGFONTA with no length prefix;
//   page list (counted block, below); settingsB 4 x u32; 4 image and picture blocks
//   (counted); setting16 u32; 12 colour settings u32 (the 4th, 8th and 12th unused but
//   kept); settings29 2 x u32; ignored31 3 x u32; from version 2 settings34 4 x u32;
//   from version 3 setting38; from 5 setting39; from 6 setting40; from 7 setting41.
//
// Page list: page-list version u32 (at most 3), page count u32, then per page: caption
// (counted text), 20 x i32 tab settings, from page-list version 2 the second text
// (counted text), from page-list version 3 the hidden flag u32, a sub-entry count u32 and
// that many 16-byte sub-entries. The loader has no use for the sub-entries; they are kept
// so that Write loses nothing. An empty page-list block means no pages; Write always
// stores page-list version 3. The block must hold exactly its pages.
//
// The page units are not part of the type data: they are the control's child list in the
// unit record, page by page (see SplitPages in forms/template_image.h).
//
// Properties 8 and 9 are the first two control settings, 10 the tab font, 11 the page list,
// 12 the tab height, 13 the current page (counted over all pages, kept in setting16), 14-18
// the other control settings, 19-30 the twelve colour settings, 31-40 the later settings;
// 41-62 are not stored.
#pragma once

#include "forms/type_data/described_properties.h"

using TabSettings = std::array<int32_t, 20>;
inline constexpr TabSettings kNoTabSettings = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                               -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

#define MG_PAGE_CONTROL_PAGE_FIELDS(F, V, U)                                           \
    F(std::string, caption, {}, Stored("caption"))  /* the tab's text */              \
    F(TabSettings, tabSettings, kNoTabSettings, Stored("tab_settings"))  /* colours and image indexes; -1 default/none */ \
    F(std::string, secondText, {}, Stored("second_text").Since(2))                    \
    F(uint32_t, hidden, 0, Stored("hidden").OfType(P::kSwitch).Since(3))  /* no tab when non-zero */ \
    F(std::vector<Words<4>>, subEntries, {}, Stored("sub_entries"))

struct PageControlPage {
    static constexpr uint32_t kMaxListVersion = 3;
    MG_DESCRIBED_FIELDS(MG_PAGE_CONTROL_PAGE_FIELDS)
    bool operator==(const PageControlPage&) const = default;
};

template <>
struct BlockCodec<std::vector<PageControlPage>> {
    static std::optional<std::vector<PageControlPage>> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const std::vector<PageControlPage>& pages);
};

// A tab font as the main window's form uses it: height -12, weight 400, GB2312, "SimSun".
LogFontBytes DefaultPageControlFont();

using ImageBlocks = std::array<std::vector<uint8_t>, 4>;
inline constexpr Words<12> kDefaultPageControlColours = {0xFF000000, 0xFF000000, 0xFF000000, 0, 0, 0x000000FF,
                                                         0x00FF0000, 0, 0xFF000000, 0x00B4A791, 0xFF000000, 0};
inline constexpr Words<4> kDefaultSettingsA = {0, 1, 0, 0};
inline constexpr Words<4> kDefaultSettingsB = {20, 0, 0, 0};
inline constexpr Words<4> kDefaultSettings34 = {0, kColourMarker, kColourMarker, kColourMarker};

#define MG_PAGE_CONTROL_SETTING(U, n) U(Prop(n, "Setting" #n, P::kInteger))

#define MG_PAGE_CONTROL_FIELDS(F, V, U)                                                     \
    F(Words<4>, settingsA, kDefaultSettingsA, Stored("settings_a"))                         \
    V(settingsA[0], Prop(8, "Style", P::kPick))                                             \
    V(settingsA[1], Prop(9, "Switch9", P::kSwitch))                                         \
    V(settingsA[2], Prop(14, "Setting14", P::kInteger))                                     \
    V(settingsA[3], Prop(15, "Setting15", P::kInteger))                                     \
    F(LogFontBytes, tabFont, DefaultPageControlFont(), Prop(10, "Font", P::kFont).Key("tab_font")) \
    F(std::vector<PageControlPage>, pages, {}, Prop(11, "Pages", P::kCustomData))           \
    F(Words<4>, settingsB, kDefaultSettingsB, Stored("settings_b"))                         \
    V(settingsB[0], Prop(12, "Integer12", P::kInteger))                                     \
    V(settingsB[1], Prop(16, "Setting16", P::kInteger))                                     \
    V(settingsB[2], Prop(17, "Setting17", P::kInteger))                                     \
    V(settingsB[3], Prop(18, "Setting18", P::kInteger))                                     \
    F(ImageBlocks, imageBlocks, {}, Stored("image_blocks"))                                 \
    F(uint32_t, setting16, 0, Stored("setting_16"))                                         \
    V(setting16, Prop(13, "Setting13", P::kInteger))                                        \
    F(Words<12>, colours, kDefaultPageControlColours, Stored("colours"))                    \
    V(colours[0], Prop(19, "Setting19", P::kInteger))                                       \
    V(colours[1], Prop(20, "Setting20", P::kInteger))                                       \
    V(colours[2], Prop(21, "Setting21", P::kInteger))                                       \
    V(colours[3], Prop(22, "Setting22", P::kInteger))                                       \
    V(colours[4], Prop(23, "Setting23", P::kInteger))                                       \
    V(colours[5], Prop(24, "Setting24", P::kInteger))                                       \
    V(colours[6], Prop(25, "Setting25", P::kInteger))                                       \
    V(colours[7], Prop(26, "Setting26", P::kInteger))                                       \
    V(colours[8], Prop(27, "Setting27", P::kInteger))                                       \
    V(colours[9], Prop(28, "Setting28", P::kInteger))                                       \
    V(colours[10], Prop(29, "Setting29", P::kInteger))                                      \
    V(colours[11], Prop(30, "Setting30", P::kInteger))                                      \
    F(Words<2>, settings29, {}, Stored("settings_29"))                                      \
    V(settings29[0], Prop(31, "Setting31", P::kInteger))                                    \
    V(settings29[1], Prop(32, "Setting32", P::kInteger))                                    \
    F(Words<3>, ignored31, {}, Stored("ignored_31"))                                        \
    F(Words<4>, settings34, kDefaultSettings34, Stored("settings_34").Since(2))             \
    V(settings34[0], Prop(33, "Setting33", P::kInteger))                                    \
    V(settings34[1], Prop(34, "Setting34", P::kInteger))                                    \
    V(settings34[2], Prop(35, "Setting35", P::kInteger))                                    \
    V(settings34[3], Prop(36, "Setting36", P::kInteger))                                    \
    F(uint32_t, setting38, 0, Prop(37, "Setting37", P::kInteger).Key("setting_38").Since(3)) \
    F(uint32_t, setting39, 0, Prop(38, "Setting38", P::kInteger).Key("setting_39").Since(5)) \
    F(uint32_t, setting40, 0, Prop(39, "Setting39", P::kInteger).Key("setting_40").Since(6)) \
    F(uint32_t, setting41, 0, Prop(40, "Setting40", P::kInteger).Key("setting_41").Since(7)) \
    MG_PAGE_CONTROL_SETTING(U, 41) MG_PAGE_CONTROL_SETTING(U, 42) MG_PAGE_CONTROL_SETTING(U, 43)    \
    MG_PAGE_CONTROL_SETTING(U, 44) MG_PAGE_CONTROL_SETTING(U, 45) MG_PAGE_CONTROL_SETTING(U, 46)    \
    MG_PAGE_CONTROL_SETTING(U, 47) MG_PAGE_CONTROL_SETTING(U, 48) MG_PAGE_CONTROL_SETTING(U, 49)    \
    MG_PAGE_CONTROL_SETTING(U, 50) MG_PAGE_CONTROL_SETTING(U, 51) MG_PAGE_CONTROL_SETTING(U, 52)    \
    MG_PAGE_CONTROL_SETTING(U, 53) MG_PAGE_CONTROL_SETTING(U, 54) MG_PAGE_CONTROL_SETTING(U, 55)    \
    MG_PAGE_CONTROL_SETTING(U, 56) MG_PAGE_CONTROL_SETTING(U, 57) MG_PAGE_CONTROL_SETTING(U, 58)    \
    MG_PAGE_CONTROL_SETTING(U, 59) MG_PAGE_CONTROL_SETTING(U, 60) MG_PAGE_CONTROL_SETTING(U, 61)    \
    MG_PAGE_CONTROL_SETTING(U, 62)

// PageChanging comes first, with the page about to be shown (a handler returning false keeps
// the current one), then PageChanged once its units show. The other tab-strip
// notifications (2 to 4) have no names.
#define MG_PAGE_CONTROL_EVENTS(E)   \
    E(0, PageChanged, ())           \
    E(1, PageChanging, (int32_t page))

struct PageControlData {
    static constexpr const char* kTypeName = "高级选择夹";
    static constexpr const char* kEnglishName = "PageControl";
    static constexpr uint32_t kMaxVersion = 7;
    MG_DESCRIBED_FIELDS(MG_PAGE_CONTROL_FIELDS)
    MG_DESCRIBED_EVENTS(MG_PAGE_CONTROL_EVENTS)

    static std::optional<std::vector<PageControlPage>> ParsePageList(const uint8_t* data, size_t size) {
        return BlockCodec<std::vector<PageControlPage>>::Parse(data, size);
    }
    static std::vector<uint8_t> WritePageList(const std::vector<PageControlPage>& pages) {
        return BlockCodec<std::vector<PageControlPage>>::Write(pages);
    }
    static std::optional<PageControlData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<PageControlData>(data, size);
    }
    static std::vector<uint8_t> Write(const PageControlData& d) { return WriteTypeData(d); }
    bool operator==(const PageControlData&) const = default;
};
