// The version of Kadrilo: the one place it is written. The resource script
// takes it from here (the version resource), CMake reads it for the project's
// version and scripts/package for the installer and the release files' names.
// Keep the three numbers plain: the other readers take them with a pattern.
#pragma once

#define KADRILO_VERSION_MAJOR 2
#define KADRILO_VERSION_MINOR 1
#define KADRILO_VERSION_PATCH 0

#define KADRILO_STRINGIZE_(x) #x
#define KADRILO_STRINGIZE(x) KADRILO_STRINGIZE_(x)
// "2.1.0"
#define KADRILO_VERSION_TEXT                                                      \
  KADRILO_STRINGIZE(KADRILO_VERSION_MAJOR) "." KADRILO_STRINGIZE(KADRILO_VERSION_MINOR) "." \
  KADRILO_STRINGIZE(KADRILO_VERSION_PATCH)
