#pragma once

#include "text.h"

namespace kadrix::cli {

// Installs kadrix-batch's translations for the user's language: the shared
// code's French texts in English, or, under a French locale, kadrix-batch's
// own English texts in French (and the shared ones as they are).
void installTranslations();

// A text in English whatever the language shown: what the JSON lines carry.
QString inEnglish(const Text& text);

} // namespace kadrix::cli
