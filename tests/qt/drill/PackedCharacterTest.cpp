#include "qt/agent/character/CharacterCheck.h"
#include "qt/drill/PackedCharacter.h"

#include <QFile>

#include <gtest/gtest.h>

// The drill skips the frame checks only for the bytes the build checked: built with any other
// fingerprint, it would check the packed file in full at every start, and no test would notice.
TEST(PackedCharacter, FingerprintIsThePackedFiles) {
    QFile file(QStringLiteral(TVX_CHARACTER_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QByteArray(drill::kPackedCharacterFingerprint),
              agent::character::characterFingerprint(file.readAll()));
}
