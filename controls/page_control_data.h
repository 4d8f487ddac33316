// Type data of the advanced tab control (type code 0x00020002), maximum version 7.
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
#pragma once

#include <array>

#include "forms/type_data/type_data_io.h"

struct PageControlPage {
    static constexpr uint32_t kMaxListVersion = 3;

    std::string caption;                    // the tab's text
    std::array<int32_t, 20> tabSettings{};  // colours and image indexes; -1 default/none
    std::string secondText;                 // from page-list version 2
    uint32_t hidden = 0;                    // from page-list version 3: no tab when non-zero
    std::vector<std::array<uint32_t, 4>> subEntries;

    PageControlPage() { tabSettings.fill(-1); }
    bool operator==(const PageControlPage&) const = default;
};

// A tab font as the main window's form uses it: height -12, weight 400, GB2312, "SimSun".
LogFontBytes DefaultPageControlFont();

struct PageControlData {
    static constexpr uint32_t kMaxVersion = 7;

    std::array<uint32_t, 4> settingsA{0, 1, 0, 0};
    LogFontBytes tabFont = DefaultPageControlFont();  // [10]
    std::vector<PageControlPage> pages;               // [11]
    std::array<uint32_t, 4> settingsB{20, 0, 0, 0};
    std::array<std::vector<uint8_t>, 4> imageBlocks;
    uint32_t setting16 = 0;
    std::array<uint32_t, 12> colours{0xFF000000, 0xFF000000, 0xFF000000, 0,          0, 0x000000FF,
                                     0x00FF0000, 0,          0xFF000000, 0x00B4A791, 0xFF000000, 0};
    std::array<uint32_t, 2> settings29{};
    std::array<uint32_t, 3> ignored31{};
    std::array<uint32_t, 4> settings34{0, kColourMarker, kColourMarker, kColourMarker};  // version 2
    uint32_t setting38 = 0;  // from version 3
    uint32_t setting39 = 0;  // from version 5
    uint32_t setting40 = 0;  // from version 6
    uint32_t setting41 = 0;  // from version 7

    static std::optional<std::vector<PageControlPage>> ParsePageList(const uint8_t* data, size_t size);
    static std::vector<uint8_t> WritePageList(const std::vector<PageControlPage>& pages);

    static std::optional<PageControlData> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Write(const PageControlData& d);
    bool operator==(const PageControlData&) const = default;
};
