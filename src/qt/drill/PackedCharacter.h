#pragma once

namespace drill {

// The fingerprint (agent::character::characterFingerprint) of the PEEDY.acs this build packed and
// checked in full; the drill loads a file with these bytes without checking its frames again.
extern const char kPackedCharacterFingerprint[];

}  // namespace drill
