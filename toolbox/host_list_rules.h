// The shape of a host list: its fields taken in pairs (label, address) and the size of the
// group box that frames its result list. Portable.
#pragma once

#include <cstddef>
#include <cstdint>

// Hosts in a list of fields: an unpaired last field is ignored.
constexpr int32_t HostCount(size_t fieldCount) { return static_cast<int32_t>(fieldCount / 2); }
// 0-based field indexes of host c (0-based).
constexpr size_t LabelField(int32_t host) { return 2 * static_cast<size_t>(host); }
constexpr size_t AddressField(int32_t host) { return 2 * static_cast<size_t>(host) + 1; }

constexpr int32_t kHostRowHeight = 18;
// The inside list's frame is 12 pixels taller than its rows; the outside list's is not.
constexpr int32_t InsideGroupHeight(int32_t hosts) { return hosts * kHostRowHeight + 12; }
constexpr int32_t OutsideGroupHeight(int32_t hosts) { return hosts * kHostRowHeight; }
