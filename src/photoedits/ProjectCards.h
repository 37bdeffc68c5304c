#pragma once

#include <array>

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

struct ImageBitmap;

// The text the fun projects put on a photo composed into a template: a sports card's
// player name, a magazine cover's captions, a greeting card's message and fold.

// The font of sports-card names and magazine captions.
QFont ProjectTextFont();

// The card as shown: the framed template reduced to 480 pixels high when taller, the
// name once in black, centred across at 0.9 of the height. Result of the imaging library.
int DrawSportsCard(const ImageBitmap& framed, const QString& name, ImageBitmap& card);

struct MagazineCaption {
  QString Text;
  QColor Colour;
};
using MagazineCaptions = std::array<MagazineCaption, 4>;
// Empty captions in yellow, red, green and blue.
MagazineCaptions DefaultMagazineCaptions();
// The cover: reduced to 480 high when taller; caption i (1 to 4) word-wrapped in a
// 100 x 100 box at (30, 100 i), cut at its bottom, in its colour over a one-pixel black
// shadow to the lower right. Result of the imaging library.
int DrawMagazineCover(const ImageBitmap& framed, const MagazineCaptions& captions, ImageBitmap& cover);

// A quarter of the printer's page each way; 1200 x 1581 without a printer (an empty size).
QSize GreetingCardSize(QSize printerPage);
// The card, to be folded in four: the photo fitted into the lower right quarter, the
// message (lines as typed, centred) upside down in the upper left, then the whole card
// turned half round. Result of the imaging library.
int DrawGreetingCard(const ImageBitmap& framed, const QString& message, const QFont& font, const QColor& colour,
                     QSize cardSize, ImageBitmap& card);
