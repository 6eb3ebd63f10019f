// The fitting schedule of a drawing as a page: one table row per schedule
// row with a picture of its block, drawn as the batch catalogue draws them.
#pragma once

#include <string>

#include "schedule/schedule.hpp"

namespace tavelin {

std::string ScheduleHtml(const schedule::Schedule& schedule, const schedule::Drawing& drawing,
                         const std::string& drawingName);

// The schedule as plain text for a terminal: one line a row.
std::string ScheduleText(const schedule::Schedule& schedule);

}  // namespace tavelin
