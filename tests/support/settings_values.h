#pragma once
#include <string>

#include "config/settings.h"

// Values unlike every start value, so a test sees whether a field kept its value or was read.
SettingsValues UnusualSettings();

// All fields as one line ("RawMode=1 Wait1=450 ..."), for comparing whole records with one
// readable failure message.
std::string Describe(const SettingsValues& v);
