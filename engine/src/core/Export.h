// Marks the few functions the engine library exports; everything else is hidden.
#pragma once

#define LINDOR_EXPORT __attribute__((visibility("default")))
