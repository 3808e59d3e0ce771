#include "cells/KXVelkaroLogoTableCell.h"

#include "host/UIKit/NSLayoutConstraint.h"
#include "host/UIKit/UIImage.h"

std::shared_ptr<KXVelkaroLogoTableCell> KXVelkaroLogoTableCell::init() {
    // initWithFrame: CGRectZero on the host's cell.
    auto cell = std::make_shared<KXVelkaroLogoTableCell>();
    if (!cell->initialiseBase(UITableViewCellStyleDefault, "", nullptr)) return nullptr;
    cell->setFrame(CGRectZero);

    auto logo = UIImage::initWithContentsOfFile(kLogoPath);
    cell->setLogoImageView(UIImageView::initWithImage(logo));
    auto imageView = cell->logoImageView();
    if (!imageView) return cell;
    imageView->setFrame(CGRectMake(0, 0, 80, 80));

    // The picture shadow shared with the makers' pictures; clipping off so that it shows.
    imageView->layer().setShadowColor(UIColor::blackColor().CGColor());
    imageView->layer().setShadowOffset(CGSize{0, 1});
    imageView->layer().setShadowOpacity(0.2f);
    imageView->layer().setShadowRadius(1);
    imageView->setClipsToBounds(false);

    cell->addSubview(imageView);
    imageView->setTranslatesAutoresizingMaskIntoConstraints(false);
    // Only the horizontal centre is constrained: the logo keeps its top at y 0, where its
    // starting frame put it, and takes the picture's own size.
    cell->addConstraint(NSLayoutConstraint::constraintWithItem(imageView, NSLayoutAttributeCenterX,
        NSLayoutRelationEqual, cell, NSLayoutAttributeCenterX, 1, 0));
    return cell;
}
