#pragma once
#include "store/settings.h"

class QPlainTextEdit;

namespace korvex::ui {

/// Gives `box` the colours, font name and size of `look` (a settings carrier such as PreView).
/// No background colour keeps the system's; no text colour takes the design's dark blue, made
/// readable on the background; bold, italic and the like are never copied.
void applyTextLook(QPlainTextEdit& box, const store::TextLook& look);

}  // namespace korvex::ui
