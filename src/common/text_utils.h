#pragma once
// String helpers shared by the windows: line-break marks, caption cleaning, list items, shortening.
#include <QString>

namespace vl {

// Every "|" becomes CR LF.
QString ExpandBreaks(const QString &text);
// Every CR LF becomes "|" (a lone LF or CR too).
QString CollapseBreaks(const QString &text);

// Removes the first "&" and trims; with dropDots a final "..." goes as well.
QString CleanCaption(const QString &caption, bool dropDots);

// True when the text trimmed is empty.
bool IsBlank(const QString &text);

// Item n (0-based) of a delimiter-separated text, trimmed; defaultValue when there are fewer
// items or the item is blank.
QString ListItem(const QString &text, int n, const QString &defaultValue = {}, QChar delimiter = u',');

// The text when it has at most `limit` characters; otherwise its first limit - 3 characters (cut
// back to just after the last blank among them unless cutAnywhere), trailing blanks removed, "...".
QString Shorten(const QString &text, int limit, bool cutAnywhere = false);

// Replaces at most `max` occurrences of pattern from left to right (0 = all); case-sensitive.
QString ReplaceLimited(const QString &text, const QString &pattern, const QString &replacement, int max);

// 1-based position of the n-th occurrence of pattern in text; 0 when there are fewer (or n < 1).
int PositionOfNth(const QString &pattern, const QString &text, int n);

}  // namespace vl
