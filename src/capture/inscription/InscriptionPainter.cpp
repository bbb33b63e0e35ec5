#include "capture/inscription/InscriptionPainter.h"

#include <stdexcept>

#include "capture/inscription/Inscription.h"

namespace kadrilo {

void InscriptionPainter::IncludeInscription(Bitmap& image, AppSettings& settings) {
    Draw(image, settings, settings.InscriptionCoordinates);
}

Bitmap InscriptionPainter::RenderPreview(AppSettings& settings, int32_t width, int32_t height) {
    Bitmap preview = Bitmap::Blank(width, height, 32);
    for (int32_t y = 0; y < preview.height; ++y) {
        uint8_t* row = preview.Row(y);
        for (int32_t x = 0; x < preview.width; ++x) {
            const Color color = PreviewCheckerColor(x, y);  // grey or white: the same in either byte order
            row[4 * x] = static_cast<uint8_t>(color & 0xFF);
            row[4 * x + 1] = static_cast<uint8_t>((color >> 8) & 0xFF);
            row[4 * x + 2] = static_cast<uint8_t>((color >> 16) & 0xFF);
        }
    }
    Draw(preview, settings, kInscriptionPreviewPosition);
    return preview;
}

void InscriptionPainter::Draw(Bitmap& image, AppSettings& settings, int32_t position) {
    const Inscription inscription = ComposeInscription(settings, clock_.Now(), clock_.TimeSeparator());
    // The position is checked first: without one the request fails, whatever the text.
    if (!InscriptionOrigin(position, {})) throw std::runtime_error("no position of the inscription is selected");
    if (inscription.text.empty()) return;
    const TextFont font{inscription.font.name, inscription.font.sizePoints, inscription.font.bold,
                        inscription.font.italic, inscription.font.underline, inscription.font.strikeOut};
    const TextExtent extent = text_.MeasureText(inscription.text, font);
    const std::optional<TextOrigin> origin = InscriptionOrigin(
        position, {image.width, image.height, extent.width, extent.height, settings.InsX, settings.InsY});
    if (!origin) throw std::runtime_error("no position of the inscription is selected");
    text_.PaintText(image, origin->x, origin->y, inscription.text, font, inscription.font.color, inscription.background);
}

}  // namespace kadrilo
