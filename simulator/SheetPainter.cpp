#include "simulator/SheetPainter.h"

#include "host/Preferences/HostStrings.h"

#include <cairo.h>
#include <glib.h>

#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Runtime/CHandle.h"
#include "host/Social/SLComposeViewController.h"
#include "simulator/ComposeLayout.h"
#include "simulator/KeyboardPainter.h"
#include "simulator/LettersKeyboard.h"
#include "simulator/ModalLayout.h"
#include "simulator/ScreenLayout.h"

namespace sim {
namespace {

UIColor rgb(int r, int g, int b) { return UIColor::colorWithRed(r / 255.0, g / 255.0, b / 255.0, 1); }
const UIColor kGrey = rgb(142, 142, 147);
const UIColor kLine = rgb(200, 199, 204);
constexpr int kTweetLength = 140;

std::string serviceName(const std::string& type) {
    return type == SLServiceTypeTwitter ? "Twitter" : type;
}

// A recipient as its token shows it: the name of "Name <address>", else the address.
std::string recipientTitle(const std::string& recipient) {
    const auto open = recipient.rfind('<');
    if (open == std::string::npos || recipient.back() != '>') return recipient;
    std::string name = recipient.substr(0, open);
    const auto trim = [](std::string& t) {
        while (!t.empty() && (t.back() == ' ' || t.back() == '"')) t.pop_back();
        while (!t.empty() && (t.front() == ' ' || t.front() == '"')) t.erase(0, 1);
    };
    trim(name);
    return name.empty() ? recipient.substr(open + 1, recipient.size() - open - 2) : name;
}

std::string sizeText(std::size_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " bytes";
    return std::to_string((bytes + 1023) / 1024) + " KB";
}

}  // namespace

bool SheetPainter::draw(const UIViewController& presented, CGSize screen) {
    if (auto* sheet = dynamic_cast<const SLComposeViewController*>(&presented)) {
        drawShareSheet(*sheet, screen);
        return false;
    }
    if (auto* composer = dynamic_cast<const MFMailComposeViewController*>(&presented)) {
        if (!ModalLayout::composerIsFormSheet()) {
            drawMailComposer(*composer, screen);
            if (composer->editingView()) KeyboardPainter(_canvas).drawLetters(LettersKeyboard::frame(screen), _keyboardShifted);
            return true;
        }
        drawFormSheet(*composer, screen);
        return false;
    }
    drawGeneric(presented, screen);
    return false;
}

void SheetPainter::drawShareSheet(const SLComposeViewController& sheet, CGSize screen) {
    _canvas.fillRect(CGRectMake(0, 0, screen.width, screen.height), UIColor::colorWithWhite(0, 0.4));
    const CGRect card = ModalLayout::sheetCard(screen);
    const auto buttons = ModalLayout::sheetButtons(screen);
    _canvas.softShadow(card, 10, 12, {0, 3}, 0.12);
    _canvas.fillRoundedRect(card, 10, rgb(248, 248, 248));
    const CGRect header = CGRectMake(card.minX(), card.minY(), card.width(), 44);
    Canvas::TextStyle title;
    title.font = UIFont::boldSystemFontOfSize(17);
    title.alignment = NSTextAlignmentCenter;
    _canvas.drawText(serviceName(sheet.serviceType()), header, title);
    drawBarActions(buttons, title);
    _canvas.hairline(card.minX(), card.maxX(), header.maxY(), kLine);

    Canvas::TextStyle text;
    text.wrap = true;
    text.centreVertically = false;
    const CGRect body = ComposeLayout::sheetText(screen);
    _canvas.drawText(sheet.text(), body, text);
    const bool editing = sheet.textView()->isFirstResponder();
    if (editing) drawCaret(sheet.text(), body, text);
    const long left = kTweetLength - g_utf8_strlen(sheet.text().c_str(), static_cast<gssize>(sheet.text().size()));
    Canvas::TextStyle counter;
    counter.font = UIFont::systemFontOfSize(15);
    counter.color = left < 0 ? rgb(255, 59, 48) : kGrey;
    counter.alignment = NSTextAlignmentRight;
    _canvas.drawText(std::to_string(left), CGRectMake(card.minX() + 15, card.maxY() - 34, card.width() - 30, 24), counter);
    if (editing) KeyboardPainter(_canvas).drawLetters(LettersKeyboard::frame(screen), _keyboardShifted);
}

void SheetPainter::drawMailComposer(const MFMailComposeViewController& composer, CGSize screen) {
    const CGRect frame = CGRectMake(0, 0, screen.width, screen.height);  // the page `screen` is
    const auto buttons = ModalLayout::composerButtons(screen);
    const host::MailMessage& mail = composer.message();
    _canvas.fillRect(frame, UIColor::whiteColor());
    const CGFloat barBottom = ScreenLayout::kContentTop;
    _canvas.fillRect(CGRectMake(0, 0, screen.width, barBottom), rgb(247, 247, 247));
    _canvas.hairline(0, screen.width, barBottom - 1 / _canvas.scale(), rgb(178, 178, 178));

    Canvas::TextStyle title;
    title.font = UIFont::boldSystemFontOfSize(17);
    title.alignment = NSTextAlignmentCenter;
    const CGFloat side = ScreenLayout::kBackButtonWidth;
    _canvas.drawText(mail.subject.empty() ? host::HostStrings::localized("New Message") : mail.subject,
        CGRectMake(side, ScreenLayout::kStatusBarHeight, screen.width - 2 * side, ScreenLayout::kNavigationBarHeight), title);
    drawBarActions(buttons, title);

    // The header rows: a grey caption, then its value.
    const auto rows = ComposeLayout::composer(screen);
    constexpr CGFloat inset = ComposeLayout::kInset;
    Canvas::TextStyle label;
    label.font = UIFont::systemFontOfSize(ComposeLayout::kFontSize);
    // The caption drawn; the rest of the row, where its value goes.
    auto caption = [&](const std::string& text, CGRect row) {
        label.color = kGrey;
        const CGFloat width = _canvas.drawText(text, CGRectMake(row.minX() + inset, row.minY(), row.width() - 2 * inset, row.height()), label).width;
        _canvas.hairline(row.minX() + inset, row.maxX(), row.maxY() - 1 / _canvas.scale(), kLine);
        return CGRectMake(row.minX() + inset + width + 6, row.minY(), row.width() - 2 * inset - width - 6, row.height());
    };
    drawRecipients(mail.toRecipients, caption(host::HostStrings::localized("To:"), rows.to));
    label.color = kGrey;
    _canvas.drawText(mail.from, caption(host::HostStrings::localized("Cc/Bcc, From:"), rows.ccFrom), label);
    const CGRect subject = caption(host::HostStrings::localized("Subject:"), rows.subject);
    label.color = UIColor::blackColor();
    _canvas.drawText(mail.subject, subject, label);
    if (composer.subjectView()->isFirstResponder()) drawCaret(mail.subject, subject, label);

    Canvas::TextStyle body;
    body.font = UIFont::systemFontOfSize(ComposeLayout::kFontSize);
    body.wrap = true;
    body.centreVertically = false;
    const CGRect text = CGRectMake(rows.body.minX() + inset, rows.body.minY() + 10, rows.body.width() - 2 * inset, 0);
    CGFloat y = text.minY() + _canvas.drawText(mail.body, text, body).height + 16;
    if (composer.bodyView()->isFirstResponder()) drawCaret(mail.body, text, body);

    // Each attachment as a document icon with its name and size.
    for (const auto& attachment : mail.attachments) {
        const CGRect icon = CGRectMake(rows.body.minX() + inset, y, 30, 38);
        _canvas.fillRoundedRect(icon, 3, rgb(242, 242, 247));
        _canvas.strokeRoundedRect(icon, 3, rgb(190, 190, 196), 1);
        Canvas::TextStyle ext;
        ext.font = UIFont::boldSystemFontOfSize(8);
        ext.color = kGrey;
        ext.alignment = NSTextAlignmentCenter;
        const auto dot = attachment.fileName.rfind('.');
        std::string extension = dot == std::string::npos ? "" : attachment.fileName.substr(dot + 1);
        const host::CHandle<gchar, g_free> upper(g_ascii_strup(extension.c_str(), -1));
        _canvas.drawText(upper.get(), CGRectMake(icon.minX(), icon.maxY() - 14, icon.width(), 12), ext);
        Canvas::TextStyle name;
        name.font = UIFont::systemFontOfSize(15);
        const CGFloat nameX = icon.maxX() + 11, nameWidth = rows.body.maxX() - inset - nameX;
        _canvas.drawText(attachment.fileName, CGRectMake(nameX, y + 1, nameWidth, 20), name);
        name.font = UIFont::systemFontOfSize(12);
        name.color = kGrey;
        _canvas.drawText(attachment.mimeType + ", " + sizeText(attachment.data.size()), CGRectMake(nameX, y + 20, nameWidth, 16), name);
        y += 50;
        if (y > rows.body.maxY()) break;
    }
}

void SheetPainter::drawRecipients(const std::vector<std::string>& recipients, CGRect area) {
    constexpr CGFloat kTokenHeight = 24, kTokenPadding = 8, kTokenGap = 4;
    Canvas::TextStyle style;
    style.font = UIFont::systemFontOfSize(ComposeLayout::kFontSize);
    style.color = UIColor::systemBlueColor();
    style.alignment = NSTextAlignmentCenter;
    CGFloat x = area.minX();
    for (const auto& recipient : recipients) {
        const std::string title = recipientTitle(recipient);
        const CGFloat width = std::min(_canvas.measureText(title, style.font).width + 2 * kTokenPadding, area.maxX() - x);
        if (width < 2 * kTokenHeight) break;  // no room left for another token
        const CGRect token = CGRectMake(x, area.midY() - kTokenHeight / 2, width, kTokenHeight);
        _canvas.fillRoundedRect(token, kTokenHeight / 2, tokenColor());
        _canvas.drawText(title, CGRectMake(token.minX() + kTokenPadding, token.minY(), token.width() - 2 * kTokenPadding, token.height()), style);
        x = token.maxX() + kTokenGap;
    }
}

void SheetPainter::drawCaret(const std::string& text, CGRect rect, const Canvas::TextStyle& style) {
    const CGRect end = _canvas.endOfText(text, rect, style);
    _canvas.fillRect(CGRectMake(end.minX(), end.minY(), ComposeLayout::kCaretWidth, end.height()), UIColor::systemBlueColor());
}

UIColor SheetPainter::tokenColor() {
    // The tint at a sixth over white, as an opaque colour.
    const UIColor tint = UIColor::systemBlueColor();
    const auto mix = [](CGFloat c) { return 1 - (1 - c) / 6; };
    return UIColor::colorWithRed(mix(tint.red), mix(tint.green), mix(tint.blue), 1);
}

// The composer's page drawn into the form sheet, which shows it from under its status strip.
void SheetPainter::drawFormSheet(const MFMailComposeViewController& composer, CGSize screen) {
    _canvas.fillRect(CGRectMake(0, 0, screen.width, screen.height), UIColor::colorWithWhite(0, 0.4));
    const CGRect frame = ModalLayout::composerFrame(screen), page = ModalLayout::composerPage(screen);
    _canvas.softShadow(frame, 0, 16, {0, 4}, 0.2);
    cairo_t* cr = _canvas.cr();
    cairo_save(cr);
    cairo_rectangle(cr, frame.minX(), frame.minY(), frame.width(), frame.height());
    cairo_clip(cr);
    cairo_translate(cr, page.minX(), page.minY());
    drawMailComposer(composer, page.size);
    cairo_restore(cr);
    // The keyboard is the screen's, across its foot, over the sheet.
    if (composer.editingView()) KeyboardPainter(_canvas).drawLetters(LettersKeyboard::frame(screen), _keyboardShifted);
}

void SheetPainter::drawGeneric(const UIViewController& controller, CGSize screen) {
    _canvas.fillRect(CGRectMake(0, 0, screen.width, screen.height), UIColor::colorWithWhite(0, 0.4));
    const CGRect card = CGRectMake(20, screen.height / 2 - 60, screen.width - 40, 120);
    _canvas.fillRoundedRect(card, 10, rgb(248, 248, 248));
    Canvas::TextStyle style;
    style.font = UIFont::boldSystemFontOfSize(17);
    style.alignment = NSTextAlignmentCenter;
    _canvas.drawText(controller.className(), card, style);
}

void SheetPainter::drawBarActions(const std::vector<ModalLayout::Button>& buttons, Canvas::TextStyle style) {
    style.color = UIColor::systemBlueColor();
    for (size_t i = 0; i < buttons.size(); ++i) {
        style.font = i == ModalLayout::kConfirmButton ? UIFont::boldSystemFontOfSize(17) : UIFont::systemFontOfSize(17);
        _canvas.drawText(buttons[i].title, buttons[i].frame, style);
    }
}

}  // namespace sim
