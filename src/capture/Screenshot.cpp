// The screenshot request: what is copied, by kind, and where the shot goes
// next, by working mode.
#include <stdexcept>

#include "app/AppMainForm.h"

namespace kadrilo {

bool TAppMainForm::PriorityRuleApplies() const {
    return Settings.PriorityChange && Settings.PriorityAutoChange && Settings.WorkMode != ContinuousMode;
}

void TAppMainForm::CreateScreenshot(int kind) {
    ScreenPort& screen = ports_.screen;
    try {
        if (kind == 2) {
            // A tick of a selected-area series copies the stored rectangle live.
            if (Settings.WorkMode != ContinuousMode) return;
            const Rect rect{SeriesRect.left, SeriesRect.top, SeriesRect.left + SeriesRect.width,
                            SeriesRect.top + SeriesRect.height};
            HeldImage = screen.CaptureScreenRect(rect, IsWin2000OrLater, Settings.IncludeCursor);
        } else {
            if (PriorityRuleApplies()) PriorityChange(true);
            Rect rect = ports_.windows.ScreenRect();
            if (kind == 1) {
                // Without a foreground window there is nothing to copy: the
                // request ends like any failed one, with the default sound.
                const std::optional<Rect> window = screen.ForegroundWindowRect();
                if (!window) throw std::runtime_error("no foreground window");
                rect = *window;
            }
            HeldImage = screen.CaptureScreenRect(rect, IsWin2000OrLater, Settings.IncludeCursor);
        }
        HandOver();
    } catch (const std::exception&) {
        ports_.sound.MessageBeep();
        if (PriorityRuleApplies()) PriorityChange(false);
        if (OneShotRun && Settings.WorkMode != ManualMode) QuitEx();
    }
}

void TAppMainForm::HandOver() {
    if (Settings.CopyImageToClipboard || Settings.WorkMode == ClipboardMode) {
        if (!ports_.clipboard.PutBitmap(*HeldImage)) {
            // In clipboard mode the clipboard is the only place the shot goes:
            // its failure is the request's. Elsewhere the save still goes on.
            if (Settings.WorkMode == ClipboardMode) throw std::runtime_error("clipboard refused the image");
            ports_.sound.MessageBeep();
        }
    }
    switch (Settings.WorkMode) {
        case ManualMode:
            SelectMainPage(0);
            ports_.form.SetViewButtonEnabled(true);
            ports_.form.UpdatePreview();
            ports_.windows.ShowMainWindow();
            return;
        case AutosaveMode:
            AutosaveScreenshot();
            return;
        case ContinuousMode:
            AutosaveSerial();
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
