// The main window's choice of English voice: a menu of the voices, checked one at a time. Nothing
// is saved: every run starts with the female voice, as every other choice starts at its default.

#include "core/trace/Trace.h"
#include "qt/drill/ReadOut1.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace drill {

void ReadOut1::addEnglishVoiceMenu() {
    EnglishVoiceMenu = new QMenu(QStringLiteral("英語の声"), this);
    EnglishVoiceMenu->setObjectName(QStringLiteral("EnglishVoiceMenu"));
    auto* group = new QActionGroup(EnglishVoiceMenu);
    const std::pair<const char*, agent::EnglishVoice> items[] = {{"女性 (slt)", agent::EnglishVoice::Female},
                                                                 {"男性 (rms)", agent::EnglishVoice::Male},
                                                                 {"eSpeak NG", agent::EnglishVoice::Espeak},
                                                                 {"交互", agent::EnglishVoice::Alternate}};
    for (const auto& [caption, voice] : items) {
        QAction* item = EnglishVoiceMenu->addAction(QString::fromUtf8(caption));
        item->setCheckable(true);
        item->setChecked(voice == agent::EnglishVoice::Female);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, voice, caption] {
            trace::write("click", std::string("EnglishVoiceMenu ") + caption);
            // The next reading, prepared or not, takes the new voice; one already playing goes on.
            if (SpeechChar) SpeechChar->setEnglishVoice(voice);
        });
    }
    // Between the listening test and the version, which the spaces of its caption keep on the right.
    menuBar()->insertMenu(Version, EnglishVoiceMenu);
}

}  // namespace drill
