#include "capture/inscription/InscriptionPainter.h"

#include <stdexcept>

#include "capture/inscription/Inscription.h"

namespace kadrilo {

void InscriptionPainter::IncludeInscription(Bitmap& image, AppSettings& settings) {
    const Inscription inscription = ComposeInscription(settings, clock_.Now(), clock_.TimeSeparator());
    // The position is checked first: without one the request fails, whatever the text.
    if (!InscriptionOrigin(settings.InscriptionCoordinates, {}))
        throw std::runtime_error("no position of the inscription is selected");
    if (inscription.text.empty()) return;
    const TextFont font{inscription.font.name, inscription.font.sizePoints, inscription.font.bold,
                        inscription.font.italic, inscription.font.underline, inscription.font.strikeOut};
    const TextExtent extent = text_.MeasureText(inscription.text, font);
    const std::optional<TextOrigin> origin =
        InscriptionOrigin(settings.InscriptionCoordinates, {image.width, image.height, extent.width, extent.height,
                                                            settings.InsX, settings.InsY});
    if (!origin) throw std::runtime_error("no position of the inscription is selected");
    text_.PaintText(image, origin->x, origin->y, inscription.text, font, inscription.font.color, inscription.background);
}

}  // namespace kadrilo
