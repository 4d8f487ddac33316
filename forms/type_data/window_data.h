// Type data of the window, maximum version 6, and its properties: one
// line per field, in the order of the type data. Switches and choices without a name in
// this system are passed through as stored.
#pragma once

#include "forms/type_data/described_properties.h"

inline constexpr std::array<Choice, 4> kPositionChoices = {
    {{"as_stored", 0}, {"centred", 1}, {"minimised", 2}, {"maximised", 3}}};

#define MG_WINDOW_FIELDS(F, V, U)                                                                          \
    F(uint32_t, borderStyle, 2, Prop(9, "BorderStyle", P::kPick).Range(0, 6))  /* 2 fixed with caption */ \
    F(uint32_t, pictureSetting, 0, Prop(12, "PictureSetting", P::kPick).Range(0, 3))                      \
    F(uint32_t, backgroundColour, kColourMarker, Prop(10, "BackgroundColour", P::kBackgroundColour))      \
    F(uint32_t, maximiseBox, 0, Prop(16, "MaximiseBox", P::kSwitch))                                      \
    F(uint32_t, minimiseBox, 1, Prop(17, "MinimiseBox", P::kSwitch))                                      \
    F(uint32_t, controlBox, 1, Prop(15, "ControlBox", P::kSwitch))                                        \
    F(uint32_t, position, 0, Prop(18, "Position", P::kPick).Range(0, 3).Names(kPositionChoices))          \
    F(uint32_t, movable, 1, Prop(19, "Movable", P::kSwitch))                                              \
    F(uint32_t, soundSetting, 0, Prop(14, "SoundSetting", P::kPick).Range(0, 2))                          \
    F(uint32_t, switch21, 0, Prop(21, "Switch21", P::kSwitch))                                            \
    F(uint32_t, switch22, 0, Prop(22, "Switch22", P::kSwitch))                                            \
    F(uint32_t, switch23, 0, Prop(23, "Switch23", P::kSwitch))                                            \
    F(uint32_t, integer25, 0, Prop(25, "Integer25", P::kInteger))                                         \
    F(uint32_t, showInTaskbar, 1, Prop(26, "ShowInTaskbar", P::kSwitch).Since(2))                         \
    F(uint32_t, switch27, 0, Prop(27, "Switch27", P::kSwitch).Since(3))                                   \
    F(uint32_t, choice28, 0, Prop(28, "Choice28", P::kPick).Range(0, 29).Since(3))                        \
    F(uint32_t, alwaysOnTop, 0, Prop(29, "AlwaysOnTop", P::kSwitch).Since(4))                             \
    F(uint32_t, switch30, 0, Prop(30, "Switch30", P::kSwitch).Since(5))                                   \
    F(std::string, className, {}, Prop(31, "ClassName", P::kText).ReadOnlyAtRunTime().Since(6))           \
    F(std::vector<uint8_t>, backgroundPicture, {}, Prop(11, "BackgroundPicture", P::kPicture))            \
    F(std::vector<uint8_t>, icon, {}, Prop(20, "Icon", P::kIcon))                                         \
    F(std::vector<uint8_t>, backgroundMusic, {}, Prop(13, "BackgroundMusic", P::kSound))                  \
    F(std::string, caption, {}, Prop(8, "Caption", P::kText))                                             \
    F(std::string, fileName, {}, Prop(24, "FileName", P::kFileName))
// The background colour's marker means the system's window colour; an empty class name the
// runtime's own window class.

// Its own events: Created when its load has built it; Loaded and Ready right after, in that
// order, as the end of the load (nothing in this system handles them); Idle when the message
// loop is idle, with the milliseconds since the idle time began (a handler returning true
// asks for more idle time).
#define MG_WINDOW_EVENTS(E)       \
    E(0, Created, ())             \
    E(3, Loaded, ())              \
    E(4, Ready, ())               \
    E(7, Idle, (int32_t elapsedMs))

struct WindowData {
    static constexpr const char* kTypeName = "窗口";
    static constexpr const char* kEnglishName = "window";
    static constexpr uint32_t kMaxVersion = 6;
    MG_DESCRIBED_FIELDS(MG_WINDOW_FIELDS)
    MG_DESCRIBED_EVENTS(MG_WINDOW_EVENTS)

    static std::optional<WindowData> Parse(const uint8_t* data, size_t size) {
        return ParseTypeData<WindowData>(data, size);
    }
    static std::vector<uint8_t> Write(const WindowData& d) { return WriteTypeData(d); }
    bool operator==(const WindowData&) const = default;
};
