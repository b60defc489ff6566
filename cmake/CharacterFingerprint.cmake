# cmake -D File=PEEDY.acs -D Output=PackedCharacterFingerprint.cpp -P CharacterFingerprint.cmake
# Writes the SHA-256 of the packed character file, in the form characterFingerprint gives it.
file(SHA256 ${File} fingerprint)
string(TOLOWER ${fingerprint} fingerprint)
file(WRITE ${Output}
  "// Written by the build from the character file it packed and checked. Do not edit.\n"
  "#include \"qt/drill/PackedCharacter.h\"\n\n"
  "namespace drill {\n\nconst char kPackedCharacterFingerprint[] = \"${fingerprint}\";\n\n}  // namespace drill\n")
