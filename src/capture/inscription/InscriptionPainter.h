// Lays the inscription over a shot: composed from the settings with the local
// time read now, measured, placed by the position table and drawn through the
// text port.
#pragma once

#include "platform/Ports.h"
#include "settings/AppSettings.h"

namespace kadrilo {

class InscriptionPainter {
public:
    InscriptionPainter(TextPort& text, ClockPort& clock) : text_(text), clock_(clock) {}

    // Draws the inscription of the settings onto the image (the font size is
    // clamped and written back). An empty text draws nothing; a position the
    // table does not have throws std::runtime_error.
    void IncludeInscription(Bitmap& image, AppSettings& settings);
    // The text preview of the settings tab, of the given size: a checkerboard
    // of 8 x 8 squares, silver at the top left, with the inscription centred on
    // it, whatever position the settings choose.
    Bitmap RenderPreview(AppSettings& settings, int32_t width, int32_t height);

private:
    void Draw(Bitmap& image, AppSettings& settings, int32_t position);

    TextPort& text_;
    ClockPort& clock_;
};

}  // namespace kadrilo
