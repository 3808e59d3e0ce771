// The support mail of the root page: what the composer is given, where it is shown, how it
// closes, and the .eml a sent mail leaves in the outbox.
#include <gmime/gmime.h>
#include <gtest/gtest.h>

#include <fcntl.h>

#include <fstream>
#include <sstream>

#include "host/Foundation/ClassRegistry.h"
#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Preferences/PSRootController.h"
#include "host/System/DeviceProfile.h"
#include "pages/VelkaroListController.h"
#include "tests/support/DeviceFixture.h"

namespace {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <class T>
using GRef = std::unique_ptr<T, GObjectUnref>;

constexpr const char* kPreferences = "/var/mobile/Library/Preferences/com.mornvale.velkaro.plist";
// Stored preferences as the device writes them (binary plist header, NULs, high bytes, CRLF).
const std::string kPreferenceBytes = std::string("bplist00\xd1\x01\x02TspeedV\x00\x01\x7f\x80\xfe\xff\r\nend", 28);

class SupportMailTest : public DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        g_mime_init();
    }

    // Shows the root page and taps its "Email Support" row, as a user would.
    void tapEmailSupport() {
        if (!page) {
            page = std::dynamic_pointer_cast<VelkaroListController>(
                host::ClassRegistry::shared().createController("VelkaroListController"));
            ASSERT_NE(page, nullptr);
            navigation = showPage(page);
        }
        for (const auto& section : page->table()->sections()) {
            for (const auto& row : section.rows) {
                auto cell = std::dynamic_pointer_cast<PSTableCell>(row.cell);
                if (cell && cell->specifier() && cell->specifier()->action() == "emailKX") {
                    page->table()->selectRowAtIndexPath(row.indexPath);
                    return;
                }
            }
        }
        FAIL() << "no row sends emailKX";
    }
    std::shared_ptr<MFMailComposeViewController> composer() const {
        auto nav = page ? page->navigationController() : nullptr;
        return nav ? std::dynamic_pointer_cast<MFMailComposeViewController>(nav->presentedViewController()) : nullptr;
    }
    std::string deviceFile(const std::string& devicePath) const {
        std::ifstream in(hostPath(devicePath), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::shared_ptr<VelkaroListController> page;
    std::shared_ptr<PSRootController> navigation;
};

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST_F(SupportMailTest, ComposerCarriesTheDeviceAndBothFilesAndComesUpOnTheNavigationController) {
    const struct {
        const char* profile;
        const char* body;
        const char* presenter;
    } cases[] = {
        {"iphone6", "\n\nCurrent Device: iPhone7,2, iOS 8.4 (12H143)", "UINavigationController"},
        {"iphone6s", "\n\nCurrent Device: iPhone8,1, iOS 9.3.5 (13G36)", "PSRootController"},
        {"ipad-air2", "\n\nCurrent Device: iPad5,3, iOS 9.0.2 (13A452)", "UINavigationController"},
        {"iphone7", "\n\nCurrent Device: iPhone9,1, iOS 10.3.3 (14G60)", "PSRootController"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        page.reset();
        useProfile(c.profile);
        writeFile(kPreferences, kPreferenceBytes);
        host::EventLog::shared().clear();
        tapEmailSupport();

        auto mail = composer();
        ASSERT_NE(mail, nullptr);
        EXPECT_EQ(page->presentedViewController(), nullptr) << "presented from the page instead";
        const auto presented = events("present");
        ASSERT_EQ(presented.size(), 1u);
        EXPECT_EQ(presented[0].field("controller"), "MFMailComposeViewController");
        EXPECT_EQ(presented[0].field("from"), c.presenter);
        EXPECT_EQ(presented[0].field("animated"), "true");
        EXPECT_EQ(mail->mailComposeDelegate(), std::static_pointer_cast<MFMailComposeViewControllerDelegate>(page));

        const MailMessage& m = mail->message();
        EXPECT_EQ(m.subject, "Velkaro Support");
        EXPECT_EQ(m.toRecipients, std::vector<std::string>{"Mornvale <support@mornvale.com>"});
        EXPECT_EQ(m.body, c.body);
        EXPECT_FALSE(m.bodyIsHTML);
        ASSERT_EQ(m.attachments.size(), 2u);
        EXPECT_EQ(m.attachments[0].fileName, "VelkaroPrefs.plist");
        EXPECT_EQ(m.attachments[0].mimeType, "application/xml");
        EXPECT_EQ(m.attachments[0].data, kPreferenceBytes);
        EXPECT_EQ(m.attachments[1].fileName, "dpkgl.txt");
        EXPECT_EQ(m.attachments[1].mimeType, "text/plain");
        EXPECT_EQ(m.attachments[1].data, deviceFile("/tmp/dpkgl.log"));
        ASSERT_TRUE(mail->cancel());
    }
}

TEST_F(SupportMailTest, SentMailReadsBackWithBothAttachmentsByteIdentical) {
    writeFile(kPreferences, kPreferenceBytes);
    tapEmailSupport();
    auto mail = composer();
    ASSERT_NE(mail, nullptr);
    ASSERT_TRUE(mail->send());

    const auto sent = events("mail");
    ASSERT_EQ(sent.size(), 1u);
    const std::string emlPath = sent[0].field("path");
    EXPECT_EQ(emlPath, "/var/mobile/Library/Mail/Outbox/1.eml");

    GError* error = nullptr;
    GRef<GMimeStream> stream(g_mime_stream_fs_open(hostPath(emlPath).c_str(), O_RDONLY, 0, &error));
    ASSERT_NE(stream, nullptr) << (error ? error->message : "");
    GRef<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    GRef<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
    ASSERT_NE(message, nullptr);
    EXPECT_STREQ(g_mime_message_get_subject(message.get()), "Velkaro Support");
    InternetAddressList* to = g_mime_message_get_to(message.get());
    ASSERT_EQ(internet_address_list_length(to), 1);
    InternetAddress* recipient = internet_address_list_get_address(to, 0);
    EXPECT_STREQ(internet_address_get_name(recipient), "Mornvale");
    EXPECT_STREQ(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(recipient)), "support@mornvale.com");

    auto decoded = [](GMimeObject* part) {
        GRef<GMimeStream> out(g_mime_stream_mem_new());
        g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(GMIME_PART(part)), out.get());
        GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out.get()));
        return std::string(reinterpret_cast<const char*>(bytes->data), bytes->len);
    };
    auto mimeType = [](GMimeObject* part) {
        char* type = g_mime_content_type_get_mime_type(g_mime_object_get_content_type(part));
        std::string result = type;
        g_free(type);
        return result;
    };
    GMimeObject* top = g_mime_message_get_mime_part(message.get());
    ASSERT_TRUE(GMIME_IS_MULTIPART(top));
    GMimeMultipart* parts = GMIME_MULTIPART(top);
    ASSERT_EQ(g_mime_multipart_get_count(parts), 3);
    GMimeObject* body = g_mime_multipart_get_part(parts, 0);
    EXPECT_EQ(mimeType(body), "text/plain");
    EXPECT_EQ(decoded(body), "\n\nCurrent Device: iPhone8,1, iOS 9.3.5 (13G36)");

    const struct {
        const char* fileName;
        const char* type;
        std::string bytes;
    } attachments[] = {
        {"VelkaroPrefs.plist", "application/xml", deviceFile(kPreferences)},
        {"dpkgl.txt", "text/plain", deviceFile("/tmp/dpkgl.log")},
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(attachments[i].fileName);
        GMimeObject* part = g_mime_multipart_get_part(parts, i + 1);
        ASSERT_TRUE(GMIME_IS_PART(part));
        EXPECT_STREQ(g_mime_part_get_filename(GMIME_PART(part)), attachments[i].fileName);
        EXPECT_EQ(mimeType(part), attachments[i].type);
        EXPECT_EQ(decoded(part), attachments[i].bytes);
    }
    EXPECT_EQ(attachments[0].bytes, kPreferenceBytes);
    if (std::filesystem::exists("/usr/bin/dpkg")) {
        // This machine's real package listing.
        EXPECT_EQ(attachments[1].bytes.rfind("Desired=", 0), 0u);
        EXPECT_NE(attachments[1].bytes.find("\nii  "), std::string::npos);
    }
}

TEST_F(SupportMailTest, SentAndCancelledBothCloseTheComposerAnimated) {
    const struct {
        const char* action;
        bool (MFMailComposeViewController::*finish)();
        std::size_t mailsWritten;
    } cases[] = {
        {"send", &MFMailComposeViewController::send, 1},
        {"cancel", &MFMailComposeViewController::cancel, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        host::EventLog::shared().clear();
        tapEmailSupport();
        std::weak_ptr<MFMailComposeViewController> weakMail = composer();
        ASSERT_FALSE(weakMail.expired());
        ASSERT_TRUE(((*weakMail.lock()).*c.finish)());
        EXPECT_EQ(composer(), nullptr);
        EXPECT_TRUE(weakMail.expired()) << "the composer outlived its dismissal";
        const auto dismissed = events("dismiss");
        ASSERT_EQ(dismissed.size(), 1u);
        EXPECT_EQ(dismissed[0].field("controller"), "MFMailComposeViewController");
        EXPECT_EQ(dismissed[0].field("animated"), "true");
        EXPECT_EQ(events("mail").size(), c.mailsWritten);
        EXPECT_TRUE(events("alert").empty());
    }
}

TEST_F(SupportMailTest, ComposingAgainOverwritesThePackageListing) {
    writeFile("/tmp/dpkgl.log", "stale listing from an earlier run\n");
    tapEmailSupport();
    ASSERT_NE(composer(), nullptr);
    const std::string first = composer()->message().attachments.back().data;
    EXPECT_EQ(first.find("stale listing"), std::string::npos);
    ASSERT_TRUE(composer()->cancel());

    tapEmailSupport();
    ASSERT_NE(composer(), nullptr);
    const std::string second = composer()->message().attachments.back().data;
    EXPECT_EQ(second, deviceFile("/tmp/dpkgl.log"));
    if (!second.empty()) EXPECT_EQ(occurrences(second, second.substr(0, 20)), 1u) << "the listing was appended";
    ASSERT_TRUE(composer()->cancel());
}

TEST_F(SupportMailTest, MissingPreferencesFileGivesNoAttachmentForIt) {
    tapEmailSupport();
    auto mail = composer();
    ASSERT_NE(mail, nullptr);
    ASSERT_EQ(mail->message().attachments.size(), 1u);
    EXPECT_EQ(mail->message().attachments[0].fileName, "dpkgl.txt");
    EXPECT_EQ(mail->message().subject, "Velkaro Support");
    ASSERT_TRUE(mail->cancel());
}

TEST_F(SupportMailTest, WithoutAMailAccountNothingComesUp) {
    host::DeviceProfile::mutableCurrent().hasMailAccount = false;
    tapEmailSupport();
    EXPECT_EQ(composer(), nullptr);
    EXPECT_TRUE(events("present").empty());
}

}  // namespace
