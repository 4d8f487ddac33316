// The tools' typed layer on the real runtime: owned results free themselves and constants
// never reach the heap, files and texts round-trip through the typed commands, property
// names match the framework's property tables, and the DLL records are laid out as the
// platform's structures of the build.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>

#include <cstring>
#include <string>

#include "controls/support_libraries.h"
#include "controls/unit_types.h"
#include "forms/unit_type.h"
#include "forms/window_list.h"
#include "runtime/app.h"
#include "runtime/dll_call.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "tests/host_lists.h"
#include "tests/win/child_process.h"
#include "toolbox/rt.h"
#include "toolbox/tool_constants.h"

using namespace rt;

namespace {

class ToolLayer : public ::testing::Test {
protected:
    TempDirectory dir;
    std::string gbkDir;
    void SetUp() override {
        SetConstantBlock(&kToolConstants, sizeof kToolConstants);
        gbkDir = GbkFromWide(dir.path().c_str());
        App().runDirectory = gbkDir;
    }
};

// What the host list loader and the default host files do, end to end, once.
void FilesAndTexts(const std::string& directory) {
    Text path = Concat({directory.c_str(), "\\疆内.txt"});
    ASSERT_FALSE(FileExists(path));
    ASSERT_TRUE(WriteFile(path, Bytes()));
    File file = File::Open(path);
    const std::vector<std::pair<std::string, std::string>> hosts(kDefaultInsideHosts.begin(), kDefaultInsideHosts.begin() + 2);
    for (const auto& [label, address] : hosts)
        EXPECT_TRUE(file.WriteBytes(ToBytes(Concat({label.c_str(), "，", address.c_str(), "，\r\n"}))));
    file.Close();
    EXPECT_TRUE(FileExists(path));

    Text content = ToText(ReadFile(Concat({GetRunDirectory(), "/疆内.txt"})));
    EXPECT_EQ(content, HostList(hosts));
    TextArray parts = SplitText(content, "，");
    ASSERT_EQ(parts.size(), 5u);
    EXPECT_STREQ(parts[0], "路由器");
    EXPECT_STREQ(parts[2], "\r\n游戏服务器A");
    EXPECT_STREQ(parts[4], "\r\n");
    EXPECT_STREQ(parts[99], "");  // past the end: the empty text, not a crash

    EXPECT_EQ(ToNumber("１２．５"), 12.5);
    EXPECT_EQ(ToInteger("-7.9"), -7);
    EXPECT_EQ(ToText(22.5), "22.5");
    EXPECT_EQ(ToText(int32_t{-3}), "-3");
    EXPECT_EQ(ToText(uint8_t{200}), "200");
    EXPECT_EQ(ToText(DateTime{43465.0 + (13 * 3600 + 5 * 60 + 7) / 86400.0}), "2018年12月31日13时5分7秒");
    EXPECT_EQ(TextLength("aaaaaa"), 6);
    EXPECT_EQ(MakeShort(2, 2), 0x0202);
    EXPECT_TRUE(Concat({}).empty());
    DeleteFileW(WideFromGbk(path.c_str()).c_str());
}

}  // namespace

TEST_F(ToolLayer, OwnedResultsFreeThemselvesAndConstantsNeverReachTheHeap) {
    FilesAndTexts(gbkDir);  // once to settle first-use allocations of the platform
    const int64_t live = LiveBlockCount(), bytes = LiveByteCount();
    for (int i = 0; i < 25; ++i) FilesAndTexts(gbkDir);
    EXPECT_EQ(LiveBlockCount(), live);
    EXPECT_EQ(LiveByteCount(), bytes);

    // A text that holds a constant, moved about and dropped: the heap is never asked.
    const uint64_t frees = HeapFreeCount();
    {
        Text constant = Text::Adopt(const_cast<char*>(kToolConstants.emptyText));
        Text moved = std::move(constant);
        TextArray empty = TextArray::Adopt(const_cast<uint32_t*>(kToolConstants.emptyArray));
        Bytes none;
        EXPECT_EQ(moved.c_str(), kToolConstants.emptyText);
        EXPECT_EQ(empty.size(), 0u);
        EXPECT_EQ(none.Arg().RawPointer(), kToolConstants.emptyArray);  // never null as an argument
    }
    EXPECT_EQ(HeapFreeCount(), frees);
    EXPECT_EQ(LiveBlockCount(), live);

    // A fresh empty array is a heap copy that goes with its owner.
    { TextArray fresh = TextArray::Empty(); }
    EXPECT_EQ(HeapFreeCount(), frees + 1);
}

// Each named property is the framework's property of that index.
TEST(ToolLayerProperties, NamesMatchTheFrameworksPropertyTables) {
    // Unit types are looked up in the running program's support libraries: these name all five.
    App().libraries = SupportLibraries();
    App().libraryCount = kSupportLibraryCount;
    struct Named {
        uint32_t typeCode;
        int32_t index;
        const char* name;
    };
    const Named all[] = {
        {kTypeEditBox, Common::Left.index, Common::Left.name},
        {kTypeEditBox, Common::Top.index, Common::Top.name},
        {kTypeListView, Common::Width.index, Common::Width.name},
        {kTypeGroupBox, Common::Height.index, Common::Height.name},
        {kTypeButton, Common::Tag.index, Common::Tag.name},
        {kTypeTimer, Common::Visible.index, Common::Visible.name},
        {kTypeLabel, Common::Disabled.index, Common::Disabled.name},
        {kTypeWindow, Window::Caption.index, Window::Caption.name},
        {kTypeEditBox, EditBox::Content.index, EditBox::Content.name},
        {kTypeGroupBox, GroupBox::Caption.index, GroupBox::Caption.name},
        {kTypeLabel, Label::Caption.index, Label::Caption.name},
        {kTypeButton, Button::Caption.index, Button::Caption.name},
        {kTypeComboBox, ComboBox::CurrentSelection.index, ComboBox::CurrentSelection.name},
        {kTypeListBox, ListBox::CurrentSelection.index, ListBox::CurrentSelection.name},
        {kTypeTimer, Timer::Interval.index, Timer::Interval.name},
        {kTypeListView, ListView::ViewType.index, ListView::ViewType.name},
        {kTypeListView, ListView::FullRowSelect.index, ListView::FullRowSelect.name},
        {kTypeListView, ListView::GridLines.index, ListView::GridLines.name},
        {kTypeTransLabel, TransLabel::Caption.index, TransLabel::Caption.name},
    };
    for (const Named& n : all) {
        const UnitTypeInfo* type = FindUnitType(n.typeCode);
        ASSERT_NE(type, nullptr) << std::hex << n.typeCode;
        const PropertyInfo* p = type->Property(n.index);
        ASSERT_NE(p, nullptr) << type->englishName << " " << n.index;
        EXPECT_STREQ(p->englishName, n.name) << type->englishName << " property " << n.index;
    }
    EXPECT_STREQ(FindUnitType(kTypeEditBox)->name, EditBox::kTypeName);
}

// A record packed for a DLL command lies exactly like the platform's structure of this
// build, and reads back member by member.
TEST(ToolLayerRecords, PackedRecordsAreThePlatformsStructures) {
    EXPECT_EQ(PackedSize(WsaData::Layout()), sizeof(WSADATA));
    EXPECT_EQ(PackedSize(HostEnt::Layout()), sizeof(hostent));
    EXPECT_EQ(ProbeReply::PackedBytes(), sizeof(ICMP_ECHO_REPLY) + ProbeReply::kDataAreaSize);

    HostEnt h;
    h.name = 0x1111, h.aliases = 0x2222, h.addressType = AF_INET, h.addressLength = 4, h.addressList = 0x3333;
    hostent platform;
    PackRecord(HostEnt::Layout(), &h, &platform);
    EXPECT_EQ(reinterpret_cast<intptr_t>(platform.h_name), 0x1111);
    EXPECT_EQ(reinterpret_cast<intptr_t>(platform.h_aliases), 0x2222);
    EXPECT_EQ(platform.h_addrtype, AF_INET);
    EXPECT_EQ(platform.h_length, 4);
    EXPECT_EQ(reinterpret_cast<intptr_t>(platform.h_addr_list), 0x3333);

    SetConstantBlock(&kToolConstants, sizeof kToolConstants);
    std::vector<char> buffer(ProbeReply::PackedBytes());
    auto* reply = reinterpret_cast<ICMP_ECHO_REPLY*>(buffer.data());
    reply->Address = 0x0100007F;
    reply->Status = 11010;
    reply->RoundTripTime = 91;
    reply->DataSize = 6;
    reply->Options.Ttl = 128;
    reply->Options.OptionsSize = 3;
    std::memcpy(buffer.data() + sizeof(ICMP_ECHO_REPLY), "aaaaaa", 6);
    ProbeReply r;
    UnpackRecord(ProbeReply::Layout(), &r, buffer.data());
    EXPECT_EQ(r.address, 0x0100007Fu);
    EXPECT_EQ(r.status, 11010);
    EXPECT_EQ(r.roundTripTime, 91u);
    EXPECT_EQ(r.dataSize, 6);
    EXPECT_EQ(r.ttl, 128);
    EXPECT_EQ(r.optionsSize, 3);
    EXPECT_EQ(r.DataText(), "aaaaaa");
}
