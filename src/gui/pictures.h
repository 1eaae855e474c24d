#pragma once

#include <QPixmap>
#include <QSize>

namespace gui {

// Every picture the window shows is drawn here at run time, so the program
// carries no image files of its own.

// A draw digit 0..9 as a ball with the digit on it; any other value gives the
// placeholder shown before the first draw arrives.
QPixmap DigitPixmap(int digit);

// The background of an image button: the plain skin or the highlighted one
// (hover, pressed or selected).
QPixmap SkinPixmap(QSize size, bool highlighted);

// The 48 x 48 window icon.
QPixmap WindowIconPixmap();

}  // namespace gui
