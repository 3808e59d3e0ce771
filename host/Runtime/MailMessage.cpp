#include "host/Runtime/MailMessage.h"

#include <gmime/gmime.h>

#include <mutex>
#include <optional>
#include <string_view>

#include "host/Runtime/AtomicFile.h"
#include "host/Runtime/CHandle.h"

namespace host {

namespace {

// One GObject reference.
template <class T>
using GRef = CHandle<T, g_object_unref>;

void initGMimeOnce() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

// Gives `part` the bytes, base64-encoded. Also for the text body: a reader gets it back byte for
// byte, where quoted-printable adds a final line break to a lone part and turns carriage returns
// into line breaks.
void setContent(GMimePart* part, const std::string& bytes) {
    GRef<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    GRef<GMimeDataWrapper> content(g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part, content.get());
    g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
}

GRef<GMimeObject> bodyPart(const std::string& body, bool isHTML) {
    GRef<GMimeTextPart> text(g_mime_text_part_new_with_subtype(isHTML ? "html" : "plain"));
    setContent(GMIME_PART(text.get()), body);
    g_mime_object_set_content_type_parameter(GMIME_OBJECT(text.get()), "charset", "utf-8");
    return GRef<GMimeObject>(GMIME_OBJECT(text.release()));
}

GRef<GMimeObject> attachmentPart(const MailAttachment& attachment) {
    GRef<GMimePart> part(g_mime_part_new());
    const std::string mimeType = attachment.mimeType.empty() ? "application/octet-stream" : attachment.mimeType;
    GRef<GMimeContentType> type(g_mime_content_type_parse(nullptr, mimeType.c_str()));
    g_mime_object_set_content_type(GMIME_OBJECT(part.get()), type.get());
    g_mime_object_set_disposition(GMIME_OBJECT(part.get()), GMIME_DISPOSITION_ATTACHMENT);
    if (!attachment.fileName.empty()) g_mime_part_set_filename(part.get(), attachment.fileName.c_str());
    setContent(part.get(), attachment.data);
    return GRef<GMimeObject>(GMIME_OBJECT(part.release()));
}

// Adds every address of `text` ("Name <address>", a bare address, or several separated by
// commas) to the message's list of `type`. False when nothing in it reads as an address.
bool addAddresses(GMimeMessage* message, GMimeAddressType type, const std::string& text) {
    GRef<InternetAddressList> parsed(internet_address_list_parse(nullptr, text.c_str()));
    if (!parsed || internet_address_list_length(parsed.get()) == 0) return false;
    internet_address_list_append(g_mime_message_get_addresses(message, type), parsed.get());
    return true;
}

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// A header field's text must stay on its line: CR or LF would start header lines of its own (or,
// in an address, further recipients), and a NUL would cut it short.
bool breaksHeaderLine(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos; }

// The first header field of `mail` that would break its line, named for a message; nothing when
// all are safe. The whole message is refused rather than the field dropped: a mail without its
// subject, one of its recipients or one of its attachments is not the mail that was composed.
std::optional<std::string> unsafeHeaderField(const MailMessage& mail) {
    if (breaksHeaderLine(mail.from)) return "the sender";
    for (std::size_t i = 0; i < mail.toRecipients.size(); ++i)
        if (breaksHeaderLine(mail.toRecipients[i])) return "recipient " + std::to_string(i + 1);
    if (breaksHeaderLine(mail.subject)) return "the subject";
    for (std::size_t i = 0; i < mail.attachments.size(); ++i) {
        if (breaksHeaderLine(mail.attachments[i].fileName)) return "the name of attachment " + std::to_string(i + 1);
        if (breaksHeaderLine(mail.attachments[i].mimeType)) return "the type of attachment " + std::to_string(i + 1);
    }
    return std::nullopt;
}

}  // namespace

bool MailMessage::writeEml(const std::filesystem::path& path, std::string* error) const {
    return writeEml([&](std::string_view bytes, std::string* why) { return host::writeFileAtomically(path, bytes, why); }, error);
}

bool MailMessage::writeEml(const Writer& write, std::string* error) const {
    if (auto field = unsafeHeaderField(*this))
        return fail(error, *field + " holds a line break or NUL, which a mail header cannot carry");
    initGMimeOnce();
    GRef<GMimeMessage> message(g_mime_message_new(TRUE));

    if (!from.empty() && !addAddresses(message.get(), GMIME_ADDRESS_TYPE_FROM, from))
        return fail(error, "not a mail address: " + from);
    for (const std::string& to : toRecipients)
        if (!addAddresses(message.get(), GMIME_ADDRESS_TYPE_TO, to)) return fail(error, "not a mail address: " + to);
    g_mime_message_set_subject(message.get(), subject.c_str(), "utf-8");

    const CHandle<GDateTime, g_date_time_unref> now(g_date_time_new_now_local());
    g_mime_message_set_date(message.get(), now.get());
    const CHandle<char, g_free> messageId(g_mime_utils_generate_message_id(g_get_host_name()));
    g_mime_message_set_message_id(message.get(), messageId.get());
    g_mime_object_set_header(GMIME_OBJECT(message.get()), "MIME-Version", "1.0", nullptr);

    GRef<GMimeObject> text = bodyPart(body, bodyIsHTML);
    if (attachments.empty()) {
        g_mime_message_set_mime_part(message.get(), text.get());
    } else {
        GRef<GMimeMultipart> mixed(g_mime_multipart_new_with_subtype("mixed"));
        g_mime_multipart_add(mixed.get(), text.get());
        for (const MailAttachment& attachment : attachments)
            g_mime_multipart_add(mixed.get(), attachmentPart(attachment).get());
        g_mime_message_set_mime_part(message.get(), GMIME_OBJECT(mixed.get()));
    }

    // Serialised in memory first, so the file appears whole or not at all.
    GRef<GMimeStream> out(g_mime_stream_mem_new());
    if (g_mime_object_write_to_stream(GMIME_OBJECT(message.get()), nullptr, out.get()) < 0)
        return fail(error, "cannot serialise the message");
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.get()));
    return write({reinterpret_cast<const char*>(bytes->data), bytes->len}, error);
}

}  // namespace host
