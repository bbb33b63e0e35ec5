// The screenshot request: what is copied, by kind, and where the shot goes
// next, by working mode.
#include <stdexcept>

#include "app/AppMainForm.h"

namespace kadrilo {

void TAppMainForm::CreateScreenshot(int kind) {
    try {
        // A tick of a selected-area series copies the stored rectangle live;
        // outside a series an area shot comes from the overlay.
        if (kind == SelectedAreaShot && Settings.WorkMode != ContinuousMode) return;
        if (kind != SelectedAreaShot) priority_.ShotStarting();
        HandOver(shotRequest_.Capture(kind, series_.Rect.ToRect(), IsWin2000OrLater, Settings.IncludeCursor));
    } catch (const std::exception&) {
        ports_.sound.MessageBeep();
        priority_.ShotHandlingEnded();
        ShotHandlingEnded();
    }
}

void TAppMainForm::HandOver(Bitmap image) {
    if (Settings.CopyImageToClipboard || Settings.WorkMode == ClipboardMode) {
        if (!ports_.clipboard.PutBitmap(image)) {
            // In clipboard mode the clipboard is the only place the shot goes:
            // its failure is the request's. Elsewhere the save still goes on.
            if (Settings.WorkMode == ClipboardMode) throw std::runtime_error("clipboard refused the image");
            ports_.sound.MessageBeep();
        }
    }
    switch (Settings.WorkMode) {
        case ManualMode:
            HeldImage = std::move(image);
            SelectMainPage(0);
            ports_.pages.SetViewButtonEnabled(true);
            ports_.pages.UpdatePreview();
            ports_.windows.ShowMainWindow();
            return;
        case AutosaveMode:
            AutosaveScreenshot(image);
            return;
        case ContinuousMode:
            AutosaveSerial(image);
            return;
        case ClipboardMode:
            PlaySoundAfterSave();
            EndSave();
            return;
        default:
            return;
    }
}

}  // namespace kadrilo
