// Text on images with GDI: measured in a screen context, drawn into a DIB
// section of the text's box only, which is then put back into the shot.
#pragma once

#include <windows.h>

#include "platform/Ports.h"

namespace kadrilo::win32 {

class TextDrawing : public TextPort {
public:
    TextExtent MeasureText(const std::string& text, const TextFont& font) override;
    void PaintText(Bitmap& image, int32_t x, int32_t y, const std::string& text, const TextFont& font, Color color,
                  std::optional<Color> background) override;
};

}  // namespace kadrilo::win32
