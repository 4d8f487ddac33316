// Text commands: length and splitting.
#include <cstring>

#include "runtime/commands/command_args.h"
#include "runtime/commands/core_commands.h"
#include "runtime/heap.h"
#include "runtime/text_split.h"
#include "runtime/value_ops.h"

void TextLength(ArgValue* result, int32_t count, ArgValue* args) {
    const char* text = cmd::TextOr(count, args, 0, "");
    cmd::SetInt(result, static_cast<int32_t>(std::strlen(text)));
}

void SplitText(ArgValue* result, int32_t count, ArgValue* args) {
    const char* text = cmd::TextOr(count, args, 0, "");
    const char* delimiter = cmd::TextOr(count, args, 1, ",");
    std::optional<int32_t> maximum;
    if (cmd::Given(count, args, 2)) maximum = cmd::Arg(count, args, 2).Int();

    std::vector<std::string> members = ::SplitText(text, delimiter, maximum);
    // Even without members the result is an array block: array variables are never null.
    void* array;
    if (members.empty()) {
        array = NewEmptyArray();
    } else {
        size_t bytes = 8 + members.size() * sizeof(char*);
        array = RtAlloc(bytes);
        uint32_t header[2] = {1, static_cast<uint32_t>(members.size())};
        std::memcpy(array, header, sizeof header);
        // Filled in order; an allocation failure is fatal, so no half-built array escapes.
        for (size_t i = 0; i < members.size(); ++i)
            array_block::SetPointerElement(array, i, NewText(members[i].data(), members[i].size()));
    }
    *result = ArgValue::OfPointer(array, kTagText | kArrayFlag);
}
