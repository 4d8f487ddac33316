// Calling command routines from tests: argument records for texts and byte sets that the
// test owns, and results taken over (read, then freed) the way the tools take them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/entries.h"
#include "runtime/gbk_text.h"
#include "runtime/heap.h"
#include "runtime/value.h"
#include "toolbox/rt/text.h"

// Keeps the blocks behind argument records alive for the duration of a test.
class ArgStore {
public:
    ArgValue Text(const std::string& gbk) {
        texts_.push_back(gbk);
        return ArgValue::OfText(texts_.back().c_str());
    }
    // A path or text given in UTF-16, passed as GBK like every text of the program.
    ArgValue Text(const std::wstring& wide) { return Text(GbkFromWide(wide.c_str())); }
    ArgValue Bytes(const std::string& content) {
        std::vector<char> block(8 + content.size());
        uint32_t header[2] = {1, static_cast<uint32_t>(content.size())};
        std::memcpy(block.data(), header, 8);
        if (!content.empty()) std::memcpy(block.data() + 8, content.data(), content.size());
        blocks_.push_back(std::move(block));
        return ArgValue::OfPointer(blocks_.back().data(), kTagBytes);
    }

private:
    std::deque<std::string> texts_;
    std::deque<std::vector<char>> blocks_;
};

inline ArgValue Call(CommandRoutine routine, std::vector<ArgValue> args = {}) {
    return RtCallCoreCommand(routine, static_cast<int32_t>(args.size()), args.data());
}

inline ArgValue Int(int32_t v) { return ArgValue::OfInt(v); }
inline ArgValue Handle(const void* p) { return ArgValue::OfPointer(p, kTagInt); }
inline ArgValue Omitted() { return ArgValue{}; }

// A text result taken over: its content, the block freed. Null reads as "".
inline std::string TakeText(const ArgValue& v) {
    return std::string(rt::Text::Adopt(static_cast<char*>(v.Pointer())).view());
}

// A byte set result taken over.
inline std::string TakeBytes(const ArgValue& v) { return std::string(rt::Bytes::Adopt(v.Pointer()).view()); }

inline std::wstring Wide(const std::string& gbk) { return WideFromGbk(gbk.c_str()); }
