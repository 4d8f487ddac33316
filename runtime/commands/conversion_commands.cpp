// Conversions between values: numbers, texts, byte sets and raw memory.
#include "runtime/commands/core_commands.h"

#include "runtime/commands/command_args.h"
#include "runtime/heap.h"
#include "runtime/number_parse.h"
#include "runtime/value_text.h"

void ToNumber(ArgValue* result, int32_t count, ArgValue* args) {
    *result = ArgValue::OfDouble(::ToNumber(cmd::Arg(count, args, 0)));
}

void ToInteger(ArgValue* result, int32_t count, ArgValue* args) {
    cmd::SetInt(result, ::ToInteger(cmd::Arg(count, args, 0)));
}

void ToText(ArgValue* result, int32_t count, ArgValue* args) {
    std::string text = ValueToText(cmd::Arg(count, args, 0));
    cmd::SetText(result, NewText(text.data(), text.size()));
}

void ToBytes(ArgValue* result, int32_t count, ArgValue* args) {
    std::vector<uint8_t> bytes = ValueToBytes(cmd::Arg(count, args, 0));
    cmd::SetByteSet(result, NewByteSet(bytes.data(), bytes.size()));
}

void MakeShort(ArgValue* result, int32_t count, ArgValue* args) {
    *result = ::MakeShort(cmd::Arg(count, args, 0).Int(), cmd::Arg(count, args, 1).Int());
}

void PointerToBytes(ArgValue* result, int32_t count, ArgValue* args) {
    const void* address = cmd::Arg(count, args, 0).Pointer();
    int32_t length = cmd::Arg(count, args, 1).Int();
    // A negative length would read gigabytes from the address: it gives empty, like 0.
    // A null address likewise can never be readable.
    if (length <= 0 || !address) return cmd::SetByteSet(result, nullptr);
    cmd::SetByteSet(result, NewByteSet(address, static_cast<size_t>(length)));
}
