#pragma once
/// The user's locale settings as the conversions take them, read afresh on each call.
/// @file
#include "tarvela/runtime/locale_settings.h"

namespace tarvela {

LocaleSettings SystemLocaleSettings();

}  // namespace tarvela
