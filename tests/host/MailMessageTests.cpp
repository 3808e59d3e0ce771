#include "host/Runtime/MailMessage.h"

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/GMimeReader.h"

namespace fs = std::filesystem;
using namespace gmime_reader;

namespace {

const std::string kPlist =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n\t<key>enabled</key>\n\t<true/>\n"
    "\t<key>speed</key>\n\t<real>0.5</real>\n</dict>\n</plist>\n";
// Package listings carry whatever bytes the package descriptions hold.
const std::string kPackages = "ii  libc6  2.36-9  amd64  GNU C Library: Grüße \xe2\x80\x94 ok\r\n" +
                              std::string("\0\x01\x7f\x80\xfe\xff", 6) + "no final newline";

class MailMessageTest : public ::testing::Test {
protected:
    static host::MailMessage supportMail(std::vector<host::MailAttachment> attachments) {
        return {.from = "Device Owner <owner@example.org>", .toRecipients = {"Mornvale <support@mornvale.com>"},
            .subject = "Velkaro Support", .body = "\n\nCurrent Device: iPhone8,1, iOS 9.3.5 (13G36)", .attachments = std::move(attachments)};
    }
    // Writes `mail` and reads it back the way a mail client would.
    GRef<GMimeMessage> roundTrip(const host::MailMessage& mail) {
        std::string error;
        EXPECT_TRUE(mail.writeEml(dir / "mail.eml", &error)) << error;
        auto read = readMessage(dir / "mail.eml");
        EXPECT_NE(read, nullptr);
        return read;
    }

    static std::string charset(GMimeObject* part) {
        const char* charset = g_mime_object_get_content_type_parameter(part, "charset");
        return charset ? charset : "(none)";
    }

    test::ScratchFolder scratch;
    const fs::path dir = scratch.path;
};

TEST_F(MailMessageTest, SupportMailReadsBackPartForPart) {
    // Empty, large, non-ASCII-named and untyped attachments too.
    const host::MailMessage mail = supportMail({{kPlist, "application/xml", "VelkaroPrefs.plist"}, {kPackages, "text/plain", "dpkgl.txt"},
        {"", "text/plain", "empty.log"}, {std::string(100000, '\xa5'), "application/octet-stream", "Einstellungen für Grüße.bin"},
        {"x", "", "untyped"}});
    GRef<GMimeMessage> read = roundTrip(mail);
    ASSERT_TRUE(read);
    EXPECT_STREQ(g_mime_message_get_subject(read.get()), "Velkaro Support");
    for (const auto& [type, name, address] : {std::tuple{GMIME_ADDRESS_TYPE_TO, "Mornvale", "support@mornvale.com"},
             {GMIME_ADDRESS_TYPE_FROM, "Device Owner", "owner@example.org"}}) {
        InternetAddressList* list = g_mime_message_get_addresses(read.get(), type);
        ASSERT_EQ(internet_address_list_length(list), 1);
        InternetAddress* mailbox = internet_address_list_get_address(list, 0);
        ASSERT_TRUE(INTERNET_ADDRESS_IS_MAILBOX(mailbox));
        EXPECT_STREQ(internet_address_get_name(mailbox), name);
        EXPECT_STREQ(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(mailbox)), address);
    }
    const char* messageId = g_mime_message_get_message_id(read.get());
    EXPECT_TRUE(g_mime_message_get_date(read.get()) && messageId && *messageId) << "no Date or Message-ID";

    const std::string raw = test::readFile(dir / "mail.eml");
    const std::string headers = raw.substr(0, raw.find("\n\n"));
    EXPECT_NE(headers.find("MIME-Version: 1.0"), std::string::npos);
    EXPECT_EQ(headers.find("MIME-Version"), headers.rfind("MIME-Version")) << headers;

    GMimeObject* top = g_mime_message_get_mime_part(read.get());
    ASSERT_TRUE(GMIME_IS_MULTIPART(top));
    EXPECT_EQ(mimeType(top), "multipart/mixed");
    GMimeObject* body = g_mime_multipart_get_part(GMIME_MULTIPART(top), 0);
    ASSERT_TRUE(GMIME_IS_TEXT_PART(body));
    EXPECT_EQ(std::tuple(decoded(body), mimeType(body), charset(body), g_mime_part_is_attachment(GMIME_PART(body))),
        std::tuple(mail.body, "text/plain", "utf-8", false));
    // Every attachment comes back in order, with its name, type and bytes.
    const char* types[] = {"application/xml", "text/plain", "text/plain", "application/octet-stream", "application/octet-stream"};
    ASSERT_EQ(g_mime_multipart_get_count(GMIME_MULTIPART(top)), int(mail.attachments.size()) + 1);
    for (size_t i = 0; i < mail.attachments.size(); ++i) {
        SCOPED_TRACE(mail.attachments[i].fileName);
        GMimeObject* part = g_mime_multipart_get_part(GMIME_MULTIPART(top), int(i) + 1);
        ASSERT_TRUE(GMIME_IS_PART(part) && g_mime_object_get_disposition(part) && g_mime_part_get_filename(GMIME_PART(part)));
        EXPECT_EQ(std::tuple(std::string(g_mime_object_get_disposition(part)), std::string(g_mime_part_get_filename(GMIME_PART(part))),
                      mimeType(part), g_mime_part_get_content_encoding(GMIME_PART(part))),
            std::tuple("attachment", mail.attachments[i].fileName, types[i], GMIME_CONTENT_ENCODING_BASE64));
        EXPECT_EQ(decoded(part), mail.attachments[i].data);
    }
}

TEST_F(MailMessageTest, BodyComesBackExactly) {
    const struct { const char* what; std::string body; bool html; } cases[] = {
        {"trailing blanks and tab", "line with blanks   \nand a tab\t\n", false},
        {"long line", std::string(300, 'a') + " " + std::string(200, '=') + "\n", false},
        {"lines mail handling likes to touch", "From me\n.\n..\n=\n", false},
        {"carriage returns", "one\r\ntwo\rthree\n", false},
        {"non-ASCII", "Grüße \xe2\x80\x94 \xe2\x98\x83 \xf0\x9f\x98\x80", false}, {"empty", "", false},
        {"html", "<p>Current Device:</p>\n<p>iPhone8,1</p>", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host::MailMessage mail = supportMail({});
        mail.body = c.body;
        mail.bodyIsHTML = c.html;
        GRef<GMimeMessage> read = roundTrip(mail);
        ASSERT_TRUE(read);
        // Without attachments the message is the text part alone.
        GMimeObject* part = g_mime_message_get_mime_part(read.get());
        ASSERT_TRUE(GMIME_IS_TEXT_PART(part));
        EXPECT_EQ(std::tuple(mimeType(part), charset(part), decoded(part)), std::tuple(c.html ? "text/html" : "text/plain", "utf-8", c.body));
    }
}

// CR, LF or NUL in any header field would add header lines or recipients: the message is
// refused, as is one without a recipient address or a folder to go in, and nothing is written.
TEST_F(MailMessageTest, FailureIsReportedAndWritesNothing) {
    const struct { void (*spoil)(host::MailMessage&); const char* named; const char* folder = ""; } cases[] = {
        {[](host::MailMessage&) {}, "", "missing"},
        {[](host::MailMessage& m) { m.toRecipients = {""}; }, ""},
        {[](host::MailMessage& m) { m.from = "owner@example.org\nBcc: thief@example.net"; }, "the sender"},
        {[](host::MailMessage& m) { m.toRecipients.push_back("support@mornvale.com\r\nthief@example.net"); }, "recipient 2"},
        {[](host::MailMessage& m) { m.subject = "Velkaro Support\rX-Priority: 1"; }, "the subject"},
        {[](host::MailMessage& m) { m.subject = std::string("Velkaro\0Support", 15); }, "the subject"},
        {[](host::MailMessage& m) { m.attachments[0].fileName = "prefs.plist\r\nContent-Type: text/html"; }, "the name of attachment 1"},
        {[](host::MailMessage& m) { m.attachments[0].mimeType = "text/plain\nX-Injected: yes"; }, "the type of attachment 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.named);
        host::MailMessage mail = supportMail({{kPlist, "application/xml", "VelkaroPrefs.plist"}});
        c.spoil(mail);
        std::string error;
        EXPECT_FALSE(mail.writeEml(dir / c.folder / "mail.eml", &error));
        EXPECT_TRUE(!error.empty() && error.starts_with(c.named)) << error;
        EXPECT_FALSE(fs::exists(dir / c.folder / "mail.eml"));
    }
}

}  // namespace
