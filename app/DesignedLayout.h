// Applying the designed layouts of forms/ to the framework's windows and fonts.
#pragma once

#include "forms/Layouts.h"
#include "platform/Forms.h"

// Sets a designed font: face, height, colour, style and character set.
void applyFont(TFont* font, forms::FontKind kind, TColor colour);

// Sets a window's designed caption, frame, position, client size, colour and font.
void applyWindowLayout(TForm* form, const forms::WindowLayout& layout);
