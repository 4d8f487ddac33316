#include "toolbox/rt/text.h"

#include <cstring>

#include "runtime/entries.h"
#include "toolbox/tool_constants.h"

namespace rt {

const char* EmptyText() { return kToolConstants.emptyText; }
const void* EmptyByteSet() { return kToolConstants.emptyArray; }

void FreeBlock(void* block) {
    if (block) RtEntries().free(block);
}

Text Concat(std::initializer_list<TextView> texts) {
    size_t length = 0;
    for (const TextView& t : texts) length += std::strlen(t.c_str());
    auto* block = static_cast<char*>(RtEntries().alloc(length + 1));
    char* end = block;
    for (const TextView& t : texts) {
        size_t n = std::strlen(t.c_str());
        std::memcpy(end, t.c_str(), n);
        end += n;
    }
    *end = 0;
    return Text::Adopt(block);
}

namespace {

const char* Member(const void* block, size_t i) {
    if (i >= static_cast<size_t>(array_block::ElementCount(block))) return EmptyText();
    auto* text = static_cast<const char*>(array_block::PointerElement(block, i));
    return text ? text : EmptyText();
}

// Each member first, then the block (constants, such as the empty array, are left alone).
void FreeTextArrayBlock(void* block) {
    if (!block) return;
    for (size_t i = 0, n = static_cast<size_t>(array_block::ElementCount(block)); i < n; ++i)
        FreeBlock(array_block::PointerElement(block, i));
    FreeBlock(block);
}

}  // namespace

TextArray TextArray::Empty() {
    void* block = RtEntries().alloc(sizeof kToolConstants.emptyArray);
    std::memcpy(block, kToolConstants.emptyArray, sizeof kToolConstants.emptyArray);
    return Adopt(block);
}

const char* TextArray::operator[](size_t i) const { return Member(p_, i); }
void TextArray::Free() { FreeTextArrayBlock(std::exchange(p_, nullptr)); }

void StaticTextArray::Replace(TextArray&& array) {
    FreeTextArrayBlock(block);
    block = array.Release();
}
const char* StaticTextArray::operator[](size_t i) const { return Member(block, i); }

}  // namespace rt
