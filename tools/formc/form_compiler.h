// The form compiler: turns a form source (TOML, UTF-8) into a window template image and
// the table of event handlers that the image's handler offsets point into. Both come
// from one source, so an offset can never name the wrong handler.
//
// Source layout: one [window] table (the window and its own record), then one [[unit]]
// table per unit record in table order. See toolbox/main_window.toml for a full example
// and form_compiler.cpp for every key. Any unknown key, unknown parent or type, duplicate
// id or name, or text without a GBK form stops the compiler with a message that names
// the unit and the key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "forms/template_image.h"

// A unit as tool code names it: its form name (UTF-8), id and unit type name.
struct UnitSymbol {
    std::string name;
    uint32_t id = 0;
    std::string typeName;  // "EditBox", "Window", ...
};

// A handler and the parameters it must declare, those of the event it is bound to.
struct HandlerCheck {
    std::string handler;
    std::string event;       // the event's name
    std::string parameters;  // "(int32_t key, int32_t modifiers)"
};

struct FormCompileResult {
    bool ok = false;
    std::string error;                  // UTF-8; names the source line, unit and key
    TemplateImage image;                // the compiled model
    std::vector<uint8_t> bytes;         // the written image
    std::vector<std::string> handlers;  // handler names; handler k has offset 16 * k
    std::vector<HandlerCheck> handlerChecks;  // each handler bound to a described event
    uint32_t windowId = 0;
    UnitSymbol window;                  // name: the [window] table's symbol (may be empty)
    std::vector<UnitSymbol> units;      // in table order
};

// sourcePath names the source in messages; files named by binary keys (image lists,
// pictures) are read relative to its directory.
FormCompileResult CompileForm(std::string_view tomlText, const std::string& sourcePath);
FormCompileResult CompileFormFile(const std::string& path);

// C++ source defining `extern const unsigned char <symbol>[]` and
// `extern const uint32_t <symbol>Size`.
std::string TemplateImageSource(const std::vector<uint8_t>& bytes, const std::string& symbol, const std::string& sourceName);
// C++ source defining `extern const EventHandlerEntry <symbol>[]` and
// `extern const uint32_t <symbol>Count`, with the handlers declared in `handlersHeader`.
// It does not compile when a handler does not declare exactly the parameters of the event
// its check names (a result is free: none, or an integer or a switch).
std::string EventCodeSource(const std::vector<std::string>& handlers, const std::string& symbol, const std::string& sourceName,
                            const std::string& handlersHeader = "toolbox/event_handlers.h",
                            const std::vector<HandlerCheck>& checks = {});
// A C++ header with one typed unit reference (toolbox/rt/units.h) per unit, named by the
// unit's form name, in namespace `ns`, and the table kAllUnits of every reference with its
// name. The window's reference is named by its symbol. False, with *error set, when a name
// cannot be a C++ name (letters, digits, underscores and CJK ideographs, not starting with
// a digit).
bool UnitReferencesSource(const FormCompileResult& form, const std::string& ns, const std::string& sourceName,
                          std::string* out, std::string* error);

// A C++ header of the tools' typed property names (namespace rt): every unit type with its
// type code, type name and each property the tools can hold a value of, from the types'
// descriptions.
std::string UnitPropertyNamesSource();
