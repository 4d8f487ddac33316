// formc: compiles a form source into the C++ sources of a window template image and of
// the event-code table its handler offsets point into.
//   formc [--symbol NAME] [--events-symbol NAME] [--image FILE] [--handlers-header PATH]
//         [--units-out FILE [--units-namespace NAME]]
//         --template-out FILE --events-out FILE SOURCE.toml
//   formc --properties-out FILE      the tools' typed property names of every unit type
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/formc/form_compiler.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: formc [--symbol NAME] [--events-symbol NAME] [--image FILE] [--handlers-header PATH]\n"
                 "             [--units-out FILE [--units-namespace NAME]]\n"
                 "             --template-out FILE --events-out FILE SOURCE.toml\n"
                 "       formc --properties-out FILE\n"
                 "  --symbol           name of the image array (default kMainWindowTemplate; its size is NAMESize)\n"
                 "  --events-symbol    name of the handler table (default kToolEventCode; its count is NAMECount)\n"
                 "  --handlers-header  header that declares the handlers (default toolbox/event_handlers.h)\n"
                 "  --units-out        also write a header of typed unit references to FILE\n"
                 "  --units-namespace  their namespace (default units)\n"
                 "  --image            also write the raw image bytes to FILE\n"
                 "  --properties-out   write the header of the tools' typed property names to FILE\n");
    return 2;
}

bool WriteFile(const std::string& path, const void* data, size_t size) {
    std::filesystem::path p = std::filesystem::path(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        std::fprintf(stderr, "formc: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string symbol = "kMainWindowTemplate", eventsSymbol = "kToolEventCode";
    std::string templateOut, eventsOut, imageOut, source, unitsOut, unitsNamespace = "units", propertiesOut;
    std::string handlersHeader = "toolbox/event_handlers.h";
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--symbol") ok = value(symbol);
        else if (a == "--events-symbol") ok = value(eventsSymbol);
        else if (a == "--template-out") ok = value(templateOut);
        else if (a == "--events-out") ok = value(eventsOut);
        else if (a == "--image") ok = value(imageOut);
        else if (a == "--units-out") ok = value(unitsOut);
        else if (a == "--units-namespace") ok = value(unitsNamespace);
        else if (a == "--handlers-header") ok = value(handlersHeader);
        else if (a == "--properties-out") ok = value(propertiesOut);
        else if (!a.empty() && a[0] != '-' && source.empty()) source = a;
        else ok = false;
        if (!ok) return Usage();
    }
    if (!propertiesOut.empty()) {
        std::string text = UnitPropertyNamesSource();
        if (!WriteFile(propertiesOut, text.data(), text.size())) return 1;
        if (source.empty()) return 0;
    }
    if (source.empty() || templateOut.empty() || eventsOut.empty()) return Usage();

    FormCompileResult r = CompileFormFile(source);
    if (!r.ok) {
        std::fprintf(stderr, "formc: %s\n", r.error.c_str());
        return 1;
    }
    std::string name = std::filesystem::path(source).filename().string();
    std::string templateText = TemplateImageSource(r.bytes, symbol, name);
    std::string eventsText = EventCodeSource(r.handlers, eventsSymbol, name, handlersHeader, r.handlerChecks);
    std::string unitsText, why;
    if (!unitsOut.empty() && !UnitReferencesSource(r, unitsNamespace, name, &unitsText, &why)) {
        std::fprintf(stderr, "formc: %s\n", why.c_str());
        return 1;
    }
    if (!WriteFile(templateOut, templateText.data(), templateText.size())) return 1;
    if (!WriteFile(eventsOut, eventsText.data(), eventsText.size())) return 1;
    if (!imageOut.empty() && !WriteFile(imageOut, r.bytes.data(), r.bytes.size())) return 1;
    if (!unitsOut.empty() && !WriteFile(unitsOut, unitsText.data(), unitsText.size())) return 1;
    return 0;
}
