// The editable share sheet and mail composer: what is typed (by script, by window and by the drawn
// keyboard's keys) is what is sent and posted; the caret, the keyboard and the recipient token
// are drawn where a user looks.
#include <SDL.h>

#include "host/MessageUI/MFMailComposeViewController.h"
#include "simulator/ComposeLayout.h"
#include "simulator/KeyboardPainter.h"
#include "simulator/LettersKeyboard.h"
#include "simulator/SheetPainter.h"
#include "simulator/WindowInput.h"
#include "tests/simulator/SimulatorFixture.h"
#include "tests/support/GMimeReader.h"

namespace {

using simtest::Rgb;
using simtest::ScreenImage;

Rgb rgbOf(const UIColor& c) { return {int(std::lround(c.red * 255)), int(std::lround(c.green * 255)), int(std::lround(c.blue * 255))}; }

class ComposeTest : public SimulatorFixture {
protected:
    // The mail composer, opened from the pane's root page on a device with both accounts.
    void openComposer() {
        restart([](auto& o) { o.twitterAccount = o.mailAccount = true; });
        ASSERT_TRUE(app->openBundleEntry());
        tap("Email Support");
    }
    std::shared_ptr<MFMailComposeViewController> composer() const {
        return std::dynamic_pointer_cast<MFMailComposeViewController>(app->presentedController());
    }
    // The sent mail's subject and body, read back as a mail client would.
    std::pair<std::string, std::string> sentMail() const {
        const auto message = gmime_reader::readMessage(options.deviceRoot / "var/mobile/Library/Mail/Outbox/1.eml");
        if (!message) return {};
        GMimeObject* top = g_mime_message_get_mime_part(message.get());
        GMimeObject* body = GMIME_IS_MULTIPART(top) ? g_mime_multipart_get_part(GMIME_MULTIPART(top), 0) : top;
        return {g_mime_message_get_subject(message.get()), gmime_reader::decoded(body)};
    }
    static void click(sim::WindowInput& input, CGPoint p) {
        SDL_Event e{SDL_MOUSEBUTTONDOWN};
        e.button.button = SDL_BUTTON_LEFT, e.button.x = Sint32(p.x), e.button.y = Sint32(p.y);
        input.handle(e);
        e.type = SDL_MOUSEBUTTONUP;
        input.handle(e);
    }
};

// Typing by script (a two-byte "é" deleted whole), by the window's text input and Backspace, and
// into the subject after a tap on it: the written .eml carries it; the recipient and the
// attachments stay. Typed into the share sheet, it is in the posted text.
TEST_F(ComposeTest, TypedTextIsSentAndPosted) {
    openComposer();
    const host::MailMessage given = composer()->message();
    auto run = runScript("type \" Thanks, café\"\ndelete\ndelete\n", true);
    ASSERT_EQ(run.failures, 0) << run.err;
    sim::WindowInput input(*app, 1);
    SDL_Event text{SDL_TEXTINPUT};
    std::snprintf(text.text.text, sizeof text.text.text, "%s", "é!?");
    input.handle(text);
    SDL_Event backspace{SDL_KEYDOWN};
    backspace.key.keysym.sym = SDLK_BACKSPACE;
    input.handle(backspace);
    const auto rows = sim::ComposeLayout::composer(app->screenSize());
    ASSERT_TRUE(app->tapAt({rows.subject.midX(), rows.subject.midY()}));
    run = runScript("type \" (urgent)\"\nmail send\n", true);
    ASSERT_EQ(run.failures, 0) << run.err;

    EXPECT_EQ(sentMail(), std::pair(given.subject + " (urgent)", given.body + " Thanks, caé!")) << "subject and body";
    ASSERT_EQ(events("mail").size(), 1u);
    EXPECT_EQ(events("mail")[0].field("attachments"), std::to_string(given.attachments.size()));

    run = runScript("compose\ntype \" and typed\"\ndelete\nsheet post\n", true);
    ASSERT_EQ(run.failures, 0) << run.err;
    EXPECT_EQ(events("sheet").back().field("state"), "sent");
    EXPECT_EQ(events("sheet").back().field("text"), "#Velkaro is awesome! and type");
}

// Clicks on the drawn letters keyboard, at the keys' places on each device: letters, shift for
// one capital, delete, space, return; the pad's hide key puts the keyboard away.
TEST_F(ComposeTest, ClickedKeysType) {
    struct Case { std::string profile; std::vector<CGPoint> clicks; std::string typed; bool keyboardUp; };
    // Phone (375 x 667): the keyboard's 216 points start at 451, rows 51 apart, ten keys a row.
    // Pad (768 x 1024): its 264 points start at 760, rows 64 apart, eleven keys a row.
    const std::vector<Case> cases = {
        {"iphone6", {{18, 480}, {20, 584}, {37, 535}, {37, 535}, {355, 584}, {150, 635}, {330, 635}}, "qA \n", true},
        {"ipad-air2", {{35, 796}, {35, 924}, {70, 860}, {640, 924}, {733, 988}}, "qA.", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile);
        restart([&](auto& o) { o.profile = c.profile; });
        ASSERT_TRUE(app->openBundleEntry());
        tap("Email Support");
        const std::string before = composer()->message().body;
        sim::WindowInput input(*app, 1);
        for (const auto& p : c.clicks) click(input, p);
        EXPECT_EQ(std::pair(composer()->message().body, app->composingView() != nullptr), std::pair(before + c.typed, c.keyboardUp))
            << "the body, and whether the keyboard is up";
    }
}

// The text being edited ends in a tint caret, which follows a tap from the composer's body to
// its subject; the letters keyboard is up while editing; the recipient is a tinted token. The
// share sheet's text has the caret too.
TEST_F(ComposeTest, CaretKeyboardAndTokenAreDrawn) {
    openComposer();
    app->finishTransitions();
    const CGSize screen = app->screenSize();
    const auto rows = sim::ComposeLayout::composer(screen);
    const CGRect keyboard = sim::LettersKeyboard::frame(screen);
    const CGRect body = CGRectMake(rows.body.minX(), rows.body.minY(), rows.body.width(), keyboard.minY() - rows.body.minY());
    const Rgb tint = rgbOf(UIColor::systemBlueColor());
    const auto blue = [&](const ScreenImage& image, CGRect r) { return image.count(r, tint); };
    const ScreenImage inBody(*app);
    EXPECT_GT(blue(inBody, body), 40) << "the body's caret";
    EXPECT_EQ(blue(inBody, rows.subject), 0);
    EXPECT_GT(inBody.count(keyboard, rgbOf(sim::KeyboardPainter::keyboardColor())), 1000) << "the keyboard";
    EXPECT_GT(inBody.count(rows.to, rgbOf(sim::SheetPainter::tokenColor())), 800) << "the recipient's token";
    ASSERT_TRUE(app->tapAt({rows.subject.maxX() - 20, rows.subject.midY()}));
    const ScreenImage inSubject(*app);
    EXPECT_EQ(blue(inSubject, body), 0);
    EXPECT_GT(blue(inSubject, rows.subject), 40) << "the subject's caret";
    ASSERT_TRUE(app->finishMail(false));
    ASSERT_TRUE(app->tapRightBarButton());
    app->finishTransitions();
    ScreenImage sheet(*app);
    EXPECT_GT(blue(sheet, sim::ComposeLayout::sheetText(screen)), 40) << "the sheet's caret";
    EXPECT_TRUE(app->finishSheet(false));  // the sheet holds itself through its handler until it is done
}

}  // namespace
