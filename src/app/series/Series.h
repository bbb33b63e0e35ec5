// A continuous series: its timer (Timer2), its counter, the kind of shot each
// tick takes and, for a selected area, the rectangle it copies.
#pragma once

#include <cstdint>

#include "platform/Ports.h"
#include "settings/AppSettings.h"

namespace kadrilo {

// The rectangle of a running selected-area series: left, top, width, height.
struct SeriesRectangle {
    int32_t left = 0, top = 0, width = 0, height = 0;
    Rect ToRect() const { return {left, top, left + width, top + height}; }
};

class Series {
public:
    explicit Series(TimerPort& timers) : timers_(timers) {}

    // Starts the timer for the first tick after `firstTickMs`; the counter is
    // set by the caller (1 for a hotkey series, 2 for an area series).
    void Start(int kind, uint32_t firstTickMs, int32_t counter);
    void Stop();
    // Forgets a running series without touching the timer (the program ends).
    void Forget() { running_ = false; }
    bool Running() const { return running_; }
    int Kind() const { return kind_; }
    int32_t Counter() const { return counter_; }

    // One tick: the timer restarts at the interval (clamped into its range and
    // written back); without manual stop the counter advances: true when it
    // went past the quantity and the series must end. That tick still takes
    // its shot.
    bool Tick(AppSettings& settings);
    // The series' last shot: its handling runs the after-save action.
    bool AtLastShot(const AppSettings& settings) const { return settings.QuantityOfScreenshots + 1 == counter_; }

    SeriesRectangle Rect;

private:
    TimerPort& timers_;
    bool running_ = false;
    int kind_ = 0;
    int32_t counter_ = 0;
};

}  // namespace kadrilo
