#include "host/UIKit/TextMetrics.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

#include "host/Runtime/CHandle.h"
#include "host/Runtime/SaturatingCast.h"

#ifndef VELKARO_FONTCONFIG_FILE
#define VELKARO_FONTCONFIG_FILE ""
#endif

namespace host {
namespace {

struct Face {
    std::string family;
    const char* weight;
};

// "HelveticaNeue-Light" -> family "HelveticaNeue-Light" (aliased by fonts.conf), weight Light.
Face faceFor(const std::string& fontName) {
    const auto dash = fontName.rfind('-');
    const std::string suffix = dash == std::string::npos ? "" : fontName.substr(dash + 1);
    const char* weight = "";
    if (suffix == "Light" || fontName.find(" Light") != std::string::npos) weight = " Light";
    else if (suffix == "Bold" || suffix == "Semibold" || suffix == "Medium") weight = " Bold";
    std::string family = fontName;
    if (!fontName.empty() && fontName[0] == '.') family = ".SFUIText";  // the system face
    return {family, weight};
}

struct Measurer {
    PangoFontMap* fontMap = nullptr;
    PangoContext* context = nullptr;
    std::map<std::tuple<std::string, std::string, double, long, double>, CGSize> cache;
    std::mutex mutex;

    Measurer() {
        TextMetrics::configureFonts();
        fontMap = pango_cairo_font_map_new();
        context = pango_font_map_create_context(fontMap);
        pango_cairo_context_set_resolution(context, 72);  // one point is one unit
    }
};

Measurer& measurer() {
    static Measurer* m = new Measurer();  // lives for the process, like the platform's font cache
    return *m;
}

}  // namespace

void TextMetrics::configureFonts() {
    static std::once_flag once;
    std::call_once(once, [] {
        FcInit();
        const char* file = std::getenv("VELKARO_FONTS_CONF");
        if (!file || !*file) file = VELKARO_FONTCONFIG_FILE;
        if (!*file) return;
        // The shipped file is the whole configuration: the machine's and the user's files (and
        // FONTCONFIG_FILE) could add faces or turn hinting on, and the pictures would differ.
        FcConfig* own = FcConfigCreate();
        if (FcConfigParseAndLoad(own, reinterpret_cast<const FcChar8*>(file), FcTrue) && FcConfigBuildFonts(own) &&
            FcConfigSetCurrent(own))
            return;
        FcConfigDestroy(own);
        FcConfigParseAndLoad(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(file), FcFalse);
    });
}

std::string TextMetrics::pangoDescription(const UIFont& font) {
    const Face face = faceFor(font.fontName);
    char size[32];
    std::snprintf(size, sizeof size, " %gpx", font.pointSize);
    return face.family + "," + face.weight + size;
}

CGSize TextMetrics::sizeOfText(const std::string& text, const UIFont& font, NSInteger numberOfLines, CGFloat maxWidth) {
    if (text.empty()) return {0, 0};
    Measurer& m = measurer();
    std::lock_guard lock(m.mutex);
    auto key = std::make_tuple(text, font.fontName, font.pointSize, long(numberOfLines), maxWidth);
    if (auto it = m.cache.find(key); it != m.cache.end()) return it->second;

    const CHandle<PangoLayout, g_object_unref> layout(pango_layout_new(m.context));
    const CHandle<PangoFontDescription, pango_font_description_free> description(
        pango_font_description_from_string(pangoDescription(font).c_str()));
    pango_layout_set_font_description(layout.get(), description.get());
    pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
    if (numberOfLines == 1) pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    else if (maxWidth > 0) pango_layout_set_width(layout.get(), host::saturatingCast<int>(maxWidth * PANGO_SCALE));
    PangoRectangle logical{};
    pango_layout_get_extents(layout.get(), nullptr, &logical);

    const CGSize size{std::ceil(logical.width / double(PANGO_SCALE)), std::ceil(logical.height / double(PANGO_SCALE))};
    m.cache.emplace(std::move(key), size);
    return size;
}

}  // namespace host
