#include "host/MessageUI/MailMessage.h"

#include <gmime/gmime.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <class T>
using GRef = std::unique_ptr<T, GObjectUnref>;

const std::string kPlist =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n<dict>\n\t<key>enabled</key>\n\t<true/>\n\t<key>speed</key>\n\t<real>0.5</real>\n"
    "</dict>\n</plist>\n";
// Package listings carry whatever bytes the package descriptions hold.
const std::string kPackages = std::string("ii  libc6  2.36-9  amd64  GNU C Library: Grüße \xe2\x80\x94 ok\r\n") +
                              std::string("\0\x01\x7f\x80\xfe\xff", 6) + "no final newline";

class MailMessageTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ = (fs::temp_directory_path() / "mailmessage.XXXXXX").string();
        ASSERT_NE(::mkdtemp(templ.data()), nullptr);
        dir = templ;
    }
    void TearDown() override { fs::remove_all(dir); }

    static MailMessage supportMail() {
        MailMessage mail;
        mail.from = "Device Owner <owner@example.org>";
        mail.toRecipients = {"Mornvale <support@mornvale.com>"};
        mail.subject = "Velkaro Support";
        mail.body = "\n\nCurrent Device: iPhone8,1, iOS 9.3.5 (13G36)";
        mail.attachments = {{kPlist, "application/xml", "VelkaroPrefs.plist"}, {kPackages, "text/plain", "dpkgl.txt"}};
        return mail;
    }

    // Writes `mail` and reads it back the way a mail client would.
    GRef<GMimeMessage> roundTrip(const MailMessage& mail) {
        const fs::path file = dir / "mail.eml";
        std::string error;
        EXPECT_TRUE(mail.writeEml(file, &error)) << error;
        GError* openError = nullptr;
        GRef<GMimeStream> stream(g_mime_stream_fs_open(file.c_str(), O_RDONLY, 0, &openError));
        if (!stream) {
            ADD_FAILURE() << openError->message;
            g_error_free(openError);
            return nullptr;
        }
        GRef<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
        return GRef<GMimeMessage>(g_mime_parser_construct_message(parser.get(), nullptr));
    }

    static std::string decoded(GMimeObject* object) {
        GRef<GMimeStream> out(g_mime_stream_mem_new());
        g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(GMIME_PART(object)), out.get());
        GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.get()));
        return {reinterpret_cast<const char*>(bytes->data), bytes->len};
    }
    static std::string mimeType(GMimeObject* object) {
        char* type = g_mime_content_type_get_mime_type(g_mime_object_get_content_type(object));
        std::string result = type;
        g_free(type);
        return result;
    }
    static std::string readFile(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }

    fs::path dir;
};

TEST_F(MailMessageTest, SupportMailReadsBackPartForPart) {
    const MailMessage mail = supportMail();
    GRef<GMimeMessage> read = roundTrip(mail);
    ASSERT_TRUE(read);

    EXPECT_STREQ(g_mime_message_get_subject(read.get()), "Velkaro Support");
    InternetAddressList* to = g_mime_message_get_addresses(read.get(), GMIME_ADDRESS_TYPE_TO);
    ASSERT_EQ(internet_address_list_length(to), 1);
    InternetAddress* recipient = internet_address_list_get_address(to, 0);
    ASSERT_TRUE(INTERNET_ADDRESS_IS_MAILBOX(recipient));
    EXPECT_STREQ(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(recipient)), "support@mornvale.com");
    EXPECT_STREQ(internet_address_get_name(recipient), "Mornvale");
    InternetAddressList* from = g_mime_message_get_addresses(read.get(), GMIME_ADDRESS_TYPE_FROM);
    ASSERT_EQ(internet_address_list_length(from), 1);
    EXPECT_STREQ(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(internet_address_list_get_address(from, 0))),
                 "owner@example.org");
    EXPECT_NE(g_mime_message_get_date(read.get()), nullptr);
    ASSERT_NE(g_mime_message_get_message_id(read.get()), nullptr);
    EXPECT_NE(std::string(g_mime_message_get_message_id(read.get())), "");

    const std::string raw = readFile(dir / "mail.eml");
    const std::string headers = raw.substr(0, raw.find("\n\n"));
    EXPECT_NE(headers.find("MIME-Version: 1.0"), std::string::npos);
    EXPECT_EQ(headers.find("MIME-Version"), headers.rfind("MIME-Version")) << headers;

    GMimeObject* top = g_mime_message_get_mime_part(read.get());
    ASSERT_TRUE(GMIME_IS_MULTIPART(top));
    EXPECT_EQ(mimeType(top), "multipart/mixed");
    GMimeMultipart* mixed = GMIME_MULTIPART(top);
    ASSERT_EQ(g_mime_multipart_get_count(mixed), 3);

    GMimeObject* body = g_mime_multipart_get_part(mixed, 0);
    ASSERT_TRUE(GMIME_IS_TEXT_PART(body));
    EXPECT_EQ(mimeType(body), "text/plain");
    EXPECT_STREQ(g_mime_object_get_content_type_parameter(body, "charset"), "utf-8");
    EXPECT_FALSE(g_mime_part_is_attachment(GMIME_PART(body)));
    EXPECT_EQ(decoded(body), mail.body);

    for (int i = 0; i < 2; ++i) {
        const MailAttachment& sent = mail.attachments[i];
        SCOPED_TRACE(sent.fileName);
        GMimeObject* part = g_mime_multipart_get_part(mixed, i + 1);
        ASSERT_TRUE(GMIME_IS_PART(part));
        EXPECT_STREQ(g_mime_object_get_disposition(part), "attachment");
        EXPECT_STREQ(g_mime_part_get_filename(GMIME_PART(part)), sent.fileName.c_str());
        EXPECT_EQ(mimeType(part), sent.mimeType);
        EXPECT_EQ(g_mime_part_get_content_encoding(GMIME_PART(part)), GMIME_CONTENT_ENCODING_BASE64);
        EXPECT_EQ(decoded(part), sent.data);
    }
}

TEST_F(MailMessageTest, BodyComesBackExactly) {
    struct Case {
        const char* what;
        std::string body;
        bool html;
    };
    const std::vector<Case> cases = {
        {"leading line breaks", "\n\nCurrent Device: iPhone8,1, iOS 9.3.5 (13G36)", false},
        {"trailing blanks and tab", "line with blanks   \nand a tab\t\n", false},
        {"long line", std::string(300, 'a') + " " + std::string(200, '=') + "\n", false},
        {"lines mail handling likes to touch", "From me\n.\n..\n=\n", false},
        {"carriage returns", "one\r\ntwo\rthree\n", false},
        {"non-ASCII", "Grüße \xe2\x80\x94 \xe2\x98\x83 \xf0\x9f\x98\x80", false},
        {"empty", "", false},
        {"html", "<p>Current Device:</p>\n<p>iPhone8,1</p>", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MailMessage mail = supportMail();
        mail.attachments.clear();
        mail.body = c.body;
        mail.bodyIsHTML = c.html;
        GRef<GMimeMessage> read = roundTrip(mail);
        ASSERT_TRUE(read);
        // Without attachments the message is the text part alone.
        GMimeObject* part = g_mime_message_get_mime_part(read.get());
        ASSERT_TRUE(GMIME_IS_TEXT_PART(part));
        EXPECT_EQ(mimeType(part), c.html ? "text/html" : "text/plain");
        EXPECT_STREQ(g_mime_object_get_content_type_parameter(part, "charset"), "utf-8");
        EXPECT_EQ(decoded(part), c.body);
    }
}

TEST_F(MailMessageTest, UnusualAttachmentsKeepTheirNamesAndBytes) {
    MailMessage mail = supportMail();
    mail.attachments = {
        {"", "text/plain", "empty.log"},
        {std::string(100000, '\xa5'), "application/octet-stream", "Einstellungen für Grüße.bin"},
        {"x", "", "untyped"},
    };
    GRef<GMimeMessage> read = roundTrip(mail);
    ASSERT_TRUE(read);
    GMimeMultipart* mixed = GMIME_MULTIPART(g_mime_message_get_mime_part(read.get()));
    ASSERT_EQ(g_mime_multipart_get_count(mixed), 4);
    const char* expectedTypes[] = {"text/plain", "application/octet-stream", "application/octet-stream"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(mail.attachments[i].fileName);
        GMimeObject* part = g_mime_multipart_get_part(mixed, i + 1);
        EXPECT_STREQ(g_mime_part_get_filename(GMIME_PART(part)), mail.attachments[i].fileName.c_str());
        EXPECT_EQ(mimeType(part), expectedTypes[i]);
        EXPECT_EQ(decoded(part), mail.attachments[i].data);
    }
}

TEST_F(MailMessageTest, FailureIsReportedAndWritesNothing) {
    struct Case {
        const char* what;
        fs::path path;
        std::vector<std::string> to;
    };
    const std::vector<Case> cases = {
        {"folder does not exist", dir / "missing" / "mail.eml", {"Mornvale <support@mornvale.com>"}},
        {"recipient without an address", dir / "mail.eml", {""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MailMessage mail = supportMail();
        mail.toRecipients = c.to;
        std::string error;
        EXPECT_FALSE(mail.writeEml(c.path, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(fs::exists(c.path));
    }
}

}  // namespace
