#pragma once

// The text of a notice as the learner sees it: plain text, control characters other than line
// breaks shown escaped, and cut to a readable size (lines and characters) with an ellipsis, since a
// notice may quote an engine's output or a path.

#include <QString>

namespace agent {

inline constexpr int kNoticeMaxChars = 600;
inline constexpr int kNoticeMaxLines = 16;
inline constexpr int kNoticeMaxLineChars = 120;

QString noticeText(const QString& message);

}  // namespace agent
