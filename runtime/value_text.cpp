#include "runtime/value_text.h"

#include <cstring>

#include "runtime/date_time.h"
#include "runtime/number_format.h"

namespace {

bool IsNumericArray(uint32_t tag) { return IsArrayTag(tag) && IsNumericTag(ElementTag(tag)); }

// The data of a numeric array: only the first dimension counts, as in every
// array the tools hand over (they are all one-dimensional).
void ArrayData(const ArgValue& v, const uint8_t*& data, size_t& size) {
    const void* block = v.Pointer();
    data = nullptr;
    size = 0;
    if (!block || array_block::DimensionCount(block) == 0) return;
    data = reinterpret_cast<const uint8_t*>(array_block::Data(block));
    size = size_t{array_block::DimensionSize(block, 0)} * ElementSizeOfTag(v.tag);
}

void ByteSetData(const ArgValue& v, const uint8_t*& data, size_t& size) {
    const void* block = v.Pointer();
    size = array_block::ByteSetLength(block);
    data = size ? array_block::ByteSetData(block) : nullptr;
}

}  // namespace

std::string FormatBasicValue(const ArgValue& v) {
    switch (v.tag) {
        case kTagByte: return FormatUnsigned(v.Byte());
        case kTagShort: return FormatInt(v.Short());
        case kTagInt: return FormatInt(v.Int());
        case kTagLong: return FormatLong(v.Long());
        case kTagFloat: return FormatFloat(v.Float());
        case kTagDouble: return FormatDouble(v.Double());
        case kTagBool: return v.Bool() ? "\xD5\xE6" /* 真 */ : "\xBC\xD9" /* 假 */;
        case kTagDateTime: return FormatDateTime(v.Double());
        case kTagText: {
            // The whole text, however long: a fixed buffer here would cut it or overrun.
            const char* text = v.Text();
            return text ? std::string(text) : std::string();
        }
        default: return {};
    }
}

std::string ValueToText(const ArgValue& v) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (v.tag == kTagBytes)
        ByteSetData(v, data, size);
    else if (IsNumericArray(v.tag))
        ArrayData(v, data, size);
    else if (IsArrayTag(v.tag))
        return {};
    else
        return FormatBasicValue(v);
    if (size == 0) return {};
    const void* nul = std::memchr(data, 0, size);
    if (nul) size = static_cast<size_t>(static_cast<const uint8_t*>(nul) - data);
    return std::string(reinterpret_cast<const char*>(data), size);
}

std::vector<uint8_t> ValueToBytes(const ArgValue& v) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (IsNumericArray(v.tag)) {
        ArrayData(v, data, size);
    } else if (IsArrayTag(v.tag) || ClassOfTag(v.tag) != TypeClass::Basic) {
        return {};
    } else if (v.tag == kTagText) {
        const char* text = v.Text();
        data = reinterpret_cast<const uint8_t*>(text);
        size = text ? std::strlen(text) : 0;
    } else if (v.tag == kTagBytes) {
        ByteSetData(v, data, size);
    } else {
        // Raw value: value low then value high, each little-endian.
        size_t raw = RawSizeOfTag(v.tag);
        uint64_t bits = v.Bits();
        std::vector<uint8_t> out(raw);
        for (size_t i = 0; i < raw; ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
        return out;
    }
    if (size == 0) return {};
    return std::vector<uint8_t>(data, data + size);
}

ArgValue MakeShort(int32_t low, int32_t high) {
    uint32_t value = ((static_cast<uint32_t>(high) & 0xFF) << 8) | (static_cast<uint32_t>(low) & 0xFF);
    return {value, 0, kTagShort};
}
