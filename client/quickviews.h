// The built-in quick views of the logged-in user in the active project:
// "My Bugs/Feature" (his classifications), "Today's Bug/Feature" (reported
// today), "Resolved" and "Verified". Every condition is joined by Or.
#pragma once

#include <lindor/lindor.h>

#include <QString>

#include <vector>

namespace nimbra {

class QuickViews {
public:
    static constexpr int kCount = 4;

    // `today` is the engine date of today at 00:00. False with the engine's
    // description when a view could not be made whole: the views made stay in
    // `views` ("My Bugs/Feature" without the conditions that could not be read).
    static bool build(lindor::IExeContext* context, double today,
                      std::vector<lindor::ComPtr<lindor::IBugFilterSet>>* views, QString* error);
};

}  // namespace nimbra
