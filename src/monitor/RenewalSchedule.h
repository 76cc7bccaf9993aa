#pragma once
// The user-defined counter's renewal schedule: the moment of the k-th renewal from the period
// that contains `now` (k = 0: the start of that period), from the schedule fields of the settings.
#include <cstdint>

#include "classlib/DateValue.h"
#include "data/NWDGlobal.h"

namespace nw {

// False when `now` or the moment is not a valid date (for example a yearly schedule past 9999).
bool TryRenewalMoment(const SettingsRecord& schedule, Date now, int32_t k, Date& ouMoment);

}  // namespace nw
