#pragma once

#include <QFont>
#include <QFontInfo>
#include <QStringList>

#include <gtest/gtest.h>

// A stand-in font asks for one face only, one of the wanted ones, and draws with that face itself.
inline void expectOneInstalledFace(const QFont& font, const QStringList& wanted) {
    ASSERT_EQ(font.families().size(), 1) << font.families().join(", ").toStdString();
    EXPECT_TRUE(wanted.contains(font.families().front())) << font.families().front().toStdString();
    EXPECT_EQ(QFontInfo(font).family(), font.families().front());
}

inline const QStringList kGothicFaces{"ＭＳ ゴシック", "MS Gothic", "IPAGothic"};
inline const QStringList kPGothicFaces{"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic"};
