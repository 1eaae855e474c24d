#pragma once

#include <QFont>

#include "ui/form.h"

class QApplication;

namespace gui {

// The Windows fonts the form names are not on Linux machines: map them to an
// installed CJK font so the captions render.
void InstallFontSubstitutes();

QFont FormFont(const ui::Font& font);

// Themed drawing with the silver colour scheme: the Fusion style on a light
// silver palette, for the whole application.
void ApplySilverTheme(QApplication& application);

}  // namespace gui
