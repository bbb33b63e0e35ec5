#include "app/series/Series.h"

#include <algorithm>

namespace kadrilo {

void Series::Start(int kind, uint32_t firstTickMs, int32_t counter) {
    kind_ = kind;
    counter_ = counter;
    running_ = true;
    timers_.StartTimer(TimerId::Timer2, firstTickMs);
}

void Series::Stop() {
    running_ = false;
    timers_.StopTimer(TimerId::Timer2);
}

bool Series::Tick(AppSettings& settings) {
    const SettingField& interval = Field(SettingId::IntervalOfTime);
    settings.IntervalOfTime = static_cast<int32_t>(interval.Clamp(settings.IntervalOfTime));
    timers_.StartTimer(TimerId::Timer2, static_cast<uint32_t>(settings.IntervalOfTime) * 100);
    if (settings.ManualSerial) return false;
    ++counter_;
    return settings.QuantityOfScreenshots < counter_;
}

}  // namespace kadrilo
