#include "simulator/SheetPainter.h"

#include <cairo.h>
#include <glib.h>

#include "host/MessageUI/MFMailComposeViewController.h"
#include "host/Runtime/CHandle.h"
#include "host/Social/SLComposeViewController.h"
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
    const CGRect body = CGRectMake(card.minX() + 15, header.maxY() + 12, card.width() - 30, card.maxY() - header.maxY() - 44);
    _canvas.drawText(sheet.text(), body, text);
    const long left = kTweetLength - g_utf8_strlen(sheet.text().c_str(), static_cast<gssize>(sheet.text().size()));
    Canvas::TextStyle counter;
    counter.font = UIFont::systemFontOfSize(15);
    counter.color = left < 0 ? rgb(255, 59, 48) : kGrey;
    counter.alignment = NSTextAlignmentRight;
    _canvas.drawText(std::to_string(left), CGRectMake(card.minX() + 15, card.maxY() - 34, card.width() - 30, 24), counter);
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
    _canvas.drawText(mail.subject.empty() ? "New Message" : mail.subject,
        CGRectMake(side, ScreenLayout::kStatusBarHeight, screen.width - 2 * side, ScreenLayout::kNavigationBarHeight), title);
    drawBarActions(buttons, title);

    // The header rows: a grey caption, then its value.
    CGFloat y = barBottom;
    auto row = [&](const std::string& caption, const std::string& value, const UIColor& valueColor) {
        Canvas::TextStyle label;
        label.font = UIFont::systemFontOfSize(15);
        label.color = kGrey;
        const CGFloat captionWidth = _canvas.drawText(caption, CGRectMake(15, y, screen.width - 30, 44), label).width;
        label.color = valueColor;
        _canvas.drawText(value, CGRectMake(15 + captionWidth + 6, y, screen.width - 36 - captionWidth, 44), label);
        y += 44;
        _canvas.hairline(15, screen.width, y - 1 / _canvas.scale(), kLine);
    };
    std::string to;
    for (const auto& recipient : mail.toRecipients) to += (to.empty() ? "" : ", ") + recipient;
    row("To:", to, UIColor::systemBlueColor());
    row("Cc/Bcc, From:", mail.from, kGrey);
    row("Subject:", mail.subject, UIColor::blackColor());

    Canvas::TextStyle body;
    body.font = UIFont::systemFontOfSize(15);
    body.wrap = true;
    body.centreVertically = false;
    y += 10;
    y += _canvas.drawText(mail.body, CGRectMake(15, y, screen.width - 30, 0), body).height + 16;

    // Each attachment as a document icon with its name and size.
    for (const auto& attachment : mail.attachments) {
        const CGRect icon = CGRectMake(15, y, 30, 38);
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
        _canvas.drawText(attachment.fileName, CGRectMake(56, y + 1, screen.width - 71, 20), name);
        name.font = UIFont::systemFontOfSize(12);
        name.color = kGrey;
        _canvas.drawText(attachment.mimeType + ", " + sizeText(attachment.data.size()), CGRectMake(56, y + 20, screen.width - 71, 16),
            name);
        y += 50;
        if (y > screen.height) break;
    }
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
