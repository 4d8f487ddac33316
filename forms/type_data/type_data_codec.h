// Reading and writing type data from the one field list of its struct
// (field_description.h): the same list, walked by a reading or a writing archive, so that a
// field's place, encoding and first version are said once.
//
// Encodings by a field's C++ type: u8, u16, u32 and i32 as themselves; a text counted (or
// NUL-ended); a byte block (a font, a picture) counted; a stored LOGFONTA as its 60 bytes;
// an array element by element; an item list as ReadItemList; a counted list of word arrays;
// a list with a BlockCodec of its own as a counted block that codec reads and writes.
// Portable: no Windows header.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "forms/type_data/field_description.h"
#include "forms/type_data/type_data_io.h"

// A field stored as a counted block in a layout of its own (a page list, list view rows):
// specialise with Parse (null for a malformed block) and Write.
template <class T>
struct BlockCodec;

template <class T>
concept HasBlockCodec = requires(const uint8_t* p, size_t n, const T& v) {
    { BlockCodec<T>::Parse(p, n) } -> std::same_as<std::optional<T>>;
    { BlockCodec<T>::Write(v) } -> std::same_as<std::vector<uint8_t>>;
};

class TypeDataReader {
public:
    TypeDataReader(TemplateCursor& cursor, uint32_t version) : c_(cursor), version_(version) {}

    template <class T>
    void operator()(T& field, const FieldDescription& d) {
        if (version_ >= d.since) Read(field, d);
    }
    template <class T>
    void View(T&, const FieldDescription&) {}
    void Unstored(const FieldDescription&) {}

private:
    void Read(uint8_t& v, const FieldDescription&) { v = c_.U8(); }
    void Read(uint16_t& v, const FieldDescription&) { v = c_.U16(); }
    void Read(uint32_t& v, const FieldDescription&) { v = c_.U32(); }
    void Read(int32_t& v, const FieldDescription&) { v = c_.I32(); }
    void Read(std::string& s, const FieldDescription& d) { s = d.zeroEnded ? c_.ZText() : c_.CountedText(); }
    void Read(std::vector<uint8_t>& b, const FieldDescription&) { b = c_.CountedBlock(); }
    void Read(std::vector<std::string>& items, const FieldDescription&) { items = ReadItemList(c_); }
    void Read(LogFontBytes& f, const FieldDescription&) {
        if (const uint8_t* p = c_.Take(sizeof(LogFontBytes))) f = LogFontFromBytes(p);
    }
    template <class T, size_t N>
    void Read(std::array<T, N>& a, const FieldDescription& d) {
        for (T& e : a) Read(e, d);
    }
    // A u32 count, then that many arrays of words.
    template <size_t N>
    void Read(std::vector<std::array<uint32_t, N>>& list, const FieldDescription&) {
        uint32_t count = c_.U32();
        if (!c_.CountFits(count, 4 * N)) return;
        list.resize(count);
        for (auto& a : list)
            for (uint32_t& v : a) v = c_.U32();
    }
    template <HasBlockCodec T>
    void Read(T& v, const FieldDescription&) {
        TemplateCursor block = c_.CountedCursor();
        if (!c_.ok()) return;
        std::optional<T> parsed = BlockCodec<T>::Parse(block.here(), block.size());
        if (parsed)
            v = std::move(*parsed);
        else
            c_.Fail();
    }

    TemplateCursor& c_;
    uint32_t version_;
};

class TypeDataWriter {
public:
    explicit TypeDataWriter(TemplateWriter& writer) : w_(writer) {}

    // Every field is written: data is always stored at its type's newest version.
    template <class T>
    void operator()(const T& field, const FieldDescription& d) {
        Write(field, d);
    }
    template <class T>
    void View(const T&, const FieldDescription&) {}
    void Unstored(const FieldDescription&) {}

private:
    void Write(uint8_t v, const FieldDescription&) { w_.U8(v); }
    void Write(uint16_t v, const FieldDescription&) { w_.U16(v); }
    void Write(uint32_t v, const FieldDescription&) { w_.U32(v); }
    void Write(int32_t v, const FieldDescription&) { w_.I32(v); }
    void Write(const std::string& s, const FieldDescription& d) {
        if (d.zeroEnded)
            WriteZText(w_, s);
        else
            w_.CountedText(s);
    }
    void Write(const std::vector<uint8_t>& b, const FieldDescription&) { w_.CountedBlock(b); }
    void Write(const std::vector<std::string>& items, const FieldDescription&) { WriteItemList(w_, items); }
    void Write(const LogFontBytes& f, const FieldDescription&) { w_.Bytes(&f, sizeof f); }
    template <class T, size_t N>
    void Write(const std::array<T, N>& a, const FieldDescription& d) {
        for (const T& e : a) Write(e, d);
    }
    template <size_t N>
    void Write(const std::vector<std::array<uint32_t, N>>& list, const FieldDescription&) {
        w_.Length(list.size());
        for (const auto& a : list)
            for (uint32_t v : a) w_.U32(v);
    }
    template <HasBlockCodec T>
    void Write(const T& v, const FieldDescription&) {
        w_.CountedBlock(BlockCodec<T>::Write(v));
    }

    TemplateWriter& w_;
};

// The fields of a record (a type's data, or one entry of a list) read from the cursor as
// stored at `version`; the cursor's failure says whether they were there.
template <class Record>
void ReadFields(TemplateCursor& c, uint32_t version, Record& record) {
    TypeDataReader reader(c, version);
    Record::Fields(reader, record);
}

template <class Record>
void WriteFields(TemplateWriter& w, const Record& record) {
    TypeDataWriter writer(w);
    Record::Fields(writer, record);
}

// A type's data: u32 version (at most Data::kMaxVersion), then its fields; empty data means
// every property at its default. Bytes after the last field are ignored.
template <class Data>
std::optional<Data> ParseTypeData(const uint8_t* bytes, size_t size) {
    Data d;
    if (size == 0) return d;
    TemplateCursor c(bytes, size);
    uint32_t version;
    if (!ReadTypeDataVersion(c, Data::kMaxVersion, &version)) return std::nullopt;
    ReadFields(c, version, d);
    if (!c.ok()) return std::nullopt;
    return d;
}

template <class Data>
std::vector<uint8_t> WriteTypeData(const Data& d) {
    TemplateWriter w;
    w.U32(Data::kMaxVersion);
    WriteFields(w, d);
    return w.Take();
}
