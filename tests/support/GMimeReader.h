#pragma once
// Reads a written .eml back the way a mail client would, for tests of the mail writer.
#include <gmime/gmime.h>

#include <fcntl.h>

#include <filesystem>
#include <memory>
#include <string>

namespace gmime_reader {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <class T>
using GRef = std::unique_ptr<T, GObjectUnref>;

// The parsed message, or null when the file cannot be opened or parsed.
inline GRef<GMimeMessage> readMessage(const std::filesystem::path& file) {
    g_mime_init();
    GRef<GMimeStream> stream(g_mime_stream_fs_open(file.c_str(), O_RDONLY, 0, nullptr));
    if (!stream) return nullptr;
    GRef<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    return GRef<GMimeMessage>(g_mime_parser_construct_message(parser.get(), nullptr));
}

// A leaf part's content with its transfer encoding undone.
inline std::string decoded(GMimeObject* part) {
    GRef<GMimeStream> out(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(GMIME_PART(part)), out.get());
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.get()));
    return {reinterpret_cast<const char*>(bytes->data), bytes->len};
}

inline std::string mimeType(GMimeObject* part) {
    char* type = g_mime_content_type_get_mime_type(g_mime_object_get_content_type(part));
    std::string result = type;
    g_free(type);
    return result;
}

}  // namespace gmime_reader
