// The screenshot request: what is copied, by kind, and where the shot goes
// next, by working mode.
#include <stdexcept>

#include "app/AppMainForm.h"
#include "capture/BitmapParts.h"

namespace kadrilo {

namespace {

constexpr int VirtualKeyReturn = 0x0D;
constexpr int VirtualKeyEscape = 0x1B;

}  // namespace

void TAppMainForm::CreateScreenshot(int kind) {
    try {
        if (kind == SelectedAreaShot) {
            std::optional<Bitmap> image = SelectedAreaShotImage();
            if (image) HandOver(std::move(*image));
            return;
        }
        priority_.ShotStarting();
        HandOver(shotRequest_.Capture(kind, {}, IsWin2000OrLater, Settings.IncludeCursor));
    } catch (const std::exception&) {
        ports_.sound.MessageBeep();
        priority_.ShotHandlingEnded();
        ShotHandlingEnded();
    }
}

std::optional<Bitmap> TAppMainForm::SelectedAreaShotImage() {
    if (const std::optional<Rect> area = selection_.UsableRectangle(); area && frozen_) {
        // With a series running there is no shot of its own to process again:
        // nothing happens and the overlay stays open.
        if (series_.Running()) return std::nullopt;
        ports_.overlay.HideOverlay();
        Bitmap crop = CropBitmap(*frozen_, *area);
        if (Settings.WorkMode == ContinuousMode) StartAreaSeries(*area);
        // The program quits, after a command-line shot, once the shot is handled.
        CloseOverlay(false);
        return crop;
    }
    // A tick of a selected-area series copies the stored rectangle live.
    if (Settings.WorkMode != ContinuousMode) return std::nullopt;
    return shotRequest_.Capture(SelectedAreaShot, series_.Rect.ToRect(), IsWin2000OrLater, Settings.IncludeCursor);
}

void TAppMainForm::StartAreaSeries(const Rect& area) {
    series_.Rect = {area.left, area.top, area.Width(), area.Height()};
    Settings.IntervalOfTime = static_cast<int32_t>(Field(SettingId::IntervalOfTime).Clamp(Settings.IntervalOfTime));
    // The shot just taken is the series' first; the priority stays as it is.
    series_.Start(SelectedAreaShot, static_cast<uint32_t>(Settings.IntervalOfTime) * 100, 2);
}

void TAppMainForm::ChooseScreenArea() {
    priority_.ShotStarting();
    try {
        const Rect screen = ports_.windows.ScreenRect();
        frozen_ = ports_.screen.CaptureScreenRect(screen, IsWin2000OrLater, Settings.IncludeCursor);
        selection_.SetOverlaySize(screen.Width(), screen.Height());
    } catch (const std::exception&) {
        // Without a frozen screen there is nothing to select from: the request
        // ends as a failed shot does.
        ports_.sound.MessageBeep();
        priority_.ShotHandlingEnded();
        ShotHandlingEnded();
        return;
    }
    ports_.overlay.ShowOverlay();
}

void TAppMainForm::AppMessage(OverlayMouse event, int32_t x, int32_t y) {
    if (!ports_.overlay.OverlayVisible()) return;
    const Rect before = selection_.Frame().value_or(Rect{});
    switch (event) {
        case OverlayMouse::Move: selection_.MouseMove(x, y); break;
        case OverlayMouse::LeftDown: selection_.MouseDown(x, y); break;
        case OverlayMouse::LeftUp: selection_.MouseUp(); break;
        case OverlayMouse::RightDown:
            ports_.overlay.ShowOverlayMenu();
            return;
    }
    ports_.overlay.UpdateOverlay(before, selection_.Frame().value_or(Rect{}));
    if (event == OverlayMouse::Move) AllocationFormGetPresKeys();
}

void TAppMainForm::AllocationFormGetPresKeys() {
    const HeldKeyActions actions = ActionsOfHeldKeys(ports_.overlay.OverlayVisible(),
                                                     ports_.overlay.KeyDown(VirtualKeyReturn),
                                                     ports_.overlay.KeyDown(VirtualKeyEscape));
    if (actions.apply) CreateScreenshot(SelectedAreaShot);
    if (actions.close && ports_.overlay.OverlayVisible()) AllocationFormOnCloseQuery();
}

void TAppMainForm::AllocationFormKeyPress() { AllocationFormGetPresKeys(); }

void TAppMainForm::AllocationFormN1Click() { CreateScreenshot(SelectedAreaShot); }

void TAppMainForm::AllocationFormN2Click() { AllocationFormOnCloseQuery(); }

void TAppMainForm::AllocationFormOnCloseQuery() {
    priority_.AreaSelectionCancelled(HeldImage.has_value());
    CloseOverlay(true);
}

void TAppMainForm::CloseOverlay(bool mayQuit) {
    ports_.overlay.HideOverlay();
    selection_.Close();
    frozen_.reset();
    if (mayQuit) ShotHandlingEnded();
}

void TAppMainForm::HandOver(Bitmap image) {
    // Each shot of a series carries its own time: the inscription is composed anew.
    if (Settings.InscriptionEnabled) inscription_.IncludeInscription(image, Settings);
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
