#include "tools/formc/gbk_conversion.h"

#include <errno.h>
#include <iconv.h>

#include "tools/formc/form_error.h"

std::string Utf8ToGbk(std::string_view text, const std::string& where) {
    if (text.find('\0') != std::string_view::npos) Throw(where + ": a text may not hold a NUL character");
    if (text.empty()) return {};
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) Throw("iconv cannot convert from UTF-8 to GBK on this system");
    std::string out(text.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* o = out.data();
    size_t outLeft = out.size();
    size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    int err = errno;
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) {
        size_t at = text.size() - inLeft;
        if (err == EILSEQ) {
            unsigned char lead = static_cast<unsigned char>(text[at]);
            size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            std::string ch(text.substr(at, n));
            Throw(where + ": the character \"" + ch + "\" has no GBK form (or the text is not UTF-8)");
        }
        Throw(where + ": the text is not valid UTF-8");
    }
    out.resize(out.size() - outLeft);
    return out;
}
