#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace volumetra {

// Conversions between the settings file's texts and the settings values. Numbers always use "."
// as the decimal point and no digit grouping, whatever the user's locale, so a file reads back
// the same everywhere.

/// A decimal number with optional sign and surrounding blanks ("-12", "+7", "2.5", ".5"); a
/// fractional part is rounded to the nearest integer, halves to the even neighbour. Empty when the
/// text is no such number or the result lies outside the 32-bit signed range.
std::optional<std::int32_t> ReadInteger(std::string_view text);

/// The longest leading part of `text` that forms a decimal number (a sign, digits, one "."), with
/// blanks skipped wherever they stand; 0 when there is no such part. Never fails: a number too
/// large for a double reads as an infinity of its sign.
double ReadLenientNumber(std::string_view text);

/// "True" or "False" in any letter case, or a decimal number as for ReadInteger (0 is false, any
/// other number true). Empty for any other text.
std::optional<bool> ReadBoolean(std::string_view text);

/// The nearest integer, halves to the even neighbour. Empty outside the 32-bit signed range.
std::optional<std::int32_t> RoundToInt32(double value);

/// A window width as decimal text: no decimal part when whole ("5310"), else the shortest text
/// that reads back as the same single-precision value ("5310.5").
std::string WidthText(float width);

/// "True" or "False".
std::string BooleanText(bool value);

}  // namespace volumetra
