#pragma once
// A mail as the composer holds it, and its writing as an RFC 5322 message with MIME parts.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct MailAttachment {
    std::string data;      // the bytes, as read from the file
    std::string mimeType;  // "application/xml"
    std::string fileName;  // "VelkaroPrefs.plist"
};

struct MailMessage {
    std::string from;                       // the device's mail account
    std::vector<std::string> toRecipients;  // "Name <address>" or a bare address
    std::string subject;
    std::string body;
    bool bodyIsHTML = false;
    std::vector<MailAttachment> attachments;  // in the order they were added

    // Writes the message as an .eml file (GMime): a multipart/mixed message whose first part is
    // the body (text/plain or text/html, UTF-8) and whose following parts are the attachments,
    // base64-encoded with their names. A message without attachments is a single text part.
    // Returns false (and says why in `error`) when the file could not be written, or when a header
    // field (sender, recipient, subject, attachment name or type) holds CR, LF or NUL: then nothing
    // is written.
    bool writeEml(const std::filesystem::path& path, std::string* error = nullptr) const;
    // The same message, its bytes handed to `write`, which stores them (false and `error` when it
    // cannot).
    using Writer = std::function<bool(std::string_view bytes, std::string* error)>;
    bool writeEml(const Writer& write, std::string* error = nullptr) const;
};

}  // namespace host
