#pragma once

#include <QString>

namespace ui {

// Loads Qt's own Japanese translations (standard buttons read はい / いいえ / OK) into the running
// application, whatever the system's language: both programs speak Japanese. Returns false when the
// translations are not installed, in which case Qt's English stays.
bool installQtJapanese();

// Where Qt's translation files are looked for.
QString qtTranslationsDir();

}  // namespace ui
