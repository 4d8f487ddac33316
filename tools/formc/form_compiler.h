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

struct FormCompileResult {
    bool ok = false;
    std::string error;                  // UTF-8; names the source line, unit and key
    TemplateImage image;                // the compiled model
    std::vector<uint8_t> bytes;         // the written image
    std::vector<std::string> handlers;  // handler names; handler k has offset 16 * k
};

// sourcePath names the source in messages; files named by binary keys (image lists,
// pictures) are read relative to its directory.
FormCompileResult CompileForm(std::string_view tomlText, const std::string& sourcePath);
FormCompileResult CompileFormFile(const std::string& path);

// C++ source defining `extern const unsigned char <symbol>[]` and
// `extern const uint32_t <symbol>Size`.
std::string TemplateImageSource(const std::vector<uint8_t>& bytes, const std::string& symbol, const std::string& sourceName);
// C++ source defining `extern const EventHandlerEntry <symbol>[]` and
// `extern const uint32_t <symbol>Count`, with the tools' handlers declared in
// toolbox/event_handlers.h.
std::string EventCodeSource(const std::vector<std::string>& handlers, const std::string& symbol, const std::string& sourceName);
