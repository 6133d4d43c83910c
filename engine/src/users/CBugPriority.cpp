#include "users/CBugPriority.h"

#include "core/ClassRegistry.h"

namespace lindor {
namespace {

const ClassRegistration registration("BugPriority", &CreateInstance<CBugPriority>);

}  // namespace
}  // namespace lindor
